// The real platform services of the desktop program.
#pragma once

#include "app/platform.h"
#include "country/country_file.h"

#include <optional>

namespace orvela::app {

class QtMessageBoxes : public MessageBoxes {
public:
    void Show(QWidget* owner, MessageIcon icon, const QString& caption, const QString& text,
              const QString& detail = QString()) override;
};

class SystemClock : public Clock {
public:
    std::time_t Now() const override;
};

class ModalDialogs : public DialogRunner {
public:
    int Exec(QDialog& dialog) override;
};

// The map's pictures as the program carries them.
class CompiledMapPictures : public MapPictures {
public:
    std::span<const std::uint8_t> Find(const std::string& name) const override;
};

// QDesktopServices, which goes through xdg-open. Whether a type has a
// program is read from the desktop's association database: the user's and
// the system's mimeapps.list, and the desktop entries' MimeType= lines, which
// update-desktop-database gathers into mimeinfo.cache.
class DesktopOpener : public DocumentOpener {
public:
    void Open(const QUrl& url) override;
    bool CanOpen(const QString& mimeType) const override;
};

class SystemMachine : public MachineInfo {
public:
    std::uint64_t PhysicalMemory() const override;
};

class DialogFileChooser : public FileChooser {
public:
    QString SaveFileName(QWidget* owner, const QString& caption, const QString& suggestion,
                         const QString& filter) override;
};

// The user's country file, or else the package's, read once.
class LocatedCountryFile : public CountryFiles {
public:
    const country::CountryFile* Get(QString& problem) override;

private:
    std::optional<country::CountryFileResult> read_;
};

} // namespace orvela::app
