#include "app/info_window.h"

#include "common/whole_file.h"

#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace orvela::app {

TInfoForm::TInfoForm(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("What is propagation ?..."));
    setFixedSize(480, 375);
    text_ = new QPlainTextEdit(this);
    text_->setGeometry(0, 0, 480, 318);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setAccessibleName(QStringLiteral("What is propagation"));
    close_ = new QPushButton(QStringLiteral("&Close"), this);
    close_->setGeometry(385, 322, 75, 25);
    connect(close_, &QPushButton::clicked, this, &QWidget::hide);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

bool TInfoForm::LoadText(const QString& path)
{
    const WholeFile file = ReadWholeFile(QFile::encodeName(path).toStdString());
    if (file.Error != 0) {
        text_->setPlainText(QString::fromLatin1(MissingText));
        return false;
    }
    text_->setPlainText(QString::fromStdString(file.Bytes));
    return true;
}

} // namespace orvela::app
