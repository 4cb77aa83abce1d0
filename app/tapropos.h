// The about box: what the program is, the machine's physical memory, and the
// rights line.
#pragma once

#include <QDialog>
#include <QLocale>

#include <cstdint>
#include <memory>

namespace Ui {
class TAPropos;
}

namespace orvela::app {

class MachineInfo;

class TAPropos : public QDialog {
    Q_OBJECT
public:
    TAPropos(const MachineInfo& machine, QWidget* parent);
    ~TAPropos() override;

    Ui::TAPropos& Widgets() { return *ui_; }

    // Kilobytes rounded to a whole number, the locale's thousands separator
    // every three digits, then " Ko": 2147483648 bytes is "2,097,152 Ko".
    static QString MemoryText(std::uint64_t bytes, const QLocale& locale = QLocale());

public slots:
    void CloseBtnClick();

private:
    void FormCreate(const MachineInfo& machine);

    std::unique_ptr<Ui::TAPropos> ui_;
};

} // namespace orvela::app
