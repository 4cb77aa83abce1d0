#include "app/tapropos.h"

#include "app/platform.h"
#include "app/ui_tapropos.h"

#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QScreen>

namespace orvela::app {

namespace {

void FitWidth(QLabel* label, int width)
{
    QFont f = label->font();
    for (int stretch = QFont::Unstretched; stretch >= QFont::UltraCondensed; stretch -= 6) {
        f.setStretch(stretch);
        if (QFontMetrics(f).horizontalAdvance(label->text()) <= width) {
            break;
        }
    }
    label->setFont(f);
}

} // namespace

TAPropos::TAPropos(const MachineInfo& machine, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
    , ui_(std::make_unique<Ui::TAPropos>())
{
    ui_->setupUi(this);
    setFixedSize(380, 160);
    QFont label3(QStringLiteral("MS Sans Serif"));
    label3.setPixelSize(13);
    ui_->Label3->setFont(label3);
    ui_->maphoto->setPixmap(QIcon(QStringLiteral(":/icons/orvela.svg")).pixmap(QSize(96, 96)));
    ui_->CloseBtn->setIcon(QIcon(QStringLiteral(":/icons/button-exit.svg")));
    ui_->CloseBtn->setIconSize(QSize(20, 20));
    connect(ui_->CloseBtn, &QToolButton::clicked, this, &TAPropos::CloseBtnClick);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    FormCreate(machine);
}

TAPropos::~TAPropos() = default;

void TAPropos::FormCreate(const MachineInfo& machine)
{
    ui_->PhysMem->setText(MemoryText(machine.PhysicalMemory()));
    // The substitutes for the original faces are wider: narrow them until
    // the texts fit their places.
    FitWidth(ui_->Label3, ui_->PhysMem->x() - ui_->Label3->x() - 2);
    FitWidth(ui_->PhysMem, ui_->CloseBtn->x() - ui_->PhysMem->x());
}

void TAPropos::CloseBtnClick()
{
    accept();
}

QString TAPropos::MemoryText(std::uint64_t bytes, const QLocale& locale)
{
    // Rounded half up, as the pattern "#,###" formats a fraction.
    const std::uint64_t kilobytes = bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0);
    QString digits = QString::number(kilobytes);
    const QString separator = locale.groupSeparator();
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3) {
        digits.insert(i, separator);
    }
    return digits + QStringLiteral(" Ko");
}

} // namespace orvela::app
