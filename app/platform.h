// The services the main window gets from the platform, passed at
// construction so that tests can put fakes in their place.
#pragma once

#include "solar/solar_products.h"

#include <QString>

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace orvela::country {
class CountryFile;
}

class QDialog;
class QUrl;
class QWidget;

namespace orvela::app {

class TPROPForm;

enum class MessageIcon { None, Information, Warning, Error };

// Modal message boxes.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // `detail`, when there is one, says why: the box's detailed text.
    virtual void Show(QWidget* owner, MessageIcon icon, const QString& caption, const QString& text,
                      const QString& detail = QString()) = 0;
};

// The current moment; local time and UTC follow from the time zone.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t Now() const = 0;
};

// The day's solar flux from the Geophysical Alert Message.
struct SolarFlux {
    bool Ok = false;
    std::string Issued; // issue date and time, as the bulletin writes it
    int Flux = 0;       // 10.7 cm flux, sfu
};

class SolarFluxSource {
public:
    virtual ~SolarFluxSource() = default;
    virtual SolarFlux GetSolarFlux() = 0;
    // The space-weather service and the bulletin's own address, for the
    // failure message and the flux box's hint.
    virtual QString ServiceAddress() const = 0;
    virtual QString FileAddress() const = 0;
    // Why the last download failed; empty after a success.
    virtual QString Problem() const { return {}; }
};

// Shows a dialog modally and returns its result (QDialog::Accepted or
// Rejected). Tests put in its place a fake that fills the dialog in and
// presses one of its buttons.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    virtual int Exec(QDialog& dialog) = 0;
};

// The pictures of the world map compiled into the program: "MAP_DAY" and
// "MAP_NIGHT" (JPEG), "SUN_BMP" and "SUN_ALPHA" (BMP).
class MapPictures {
public:
    virtual ~MapPictures() = default;
    // The picture's bytes; empty when the program has no picture of that name.
    virtual std::span<const std::uint8_t> Find(const std::string& name) const = 0;
};

// Opens a document or a web page with the desktop's program for it.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    virtual void Open(const QUrl& url) = 0;
    // Whether the desktop has a program for documents of this MIME type, as
    // its association database says: a launch without one fails silently.
    virtual bool CanOpen(const QString& mimeType) const = 0;
};

// What the about box reports of the machine.
class MachineInfo {
public:
    virtual ~MachineInfo() = default;
    // Total physical memory, bytes.
    virtual std::uint64_t PhysicalMemory() const = 0;
};

// Asks where to save a file; an empty name when the user cancelled.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual QString SaveFileName(QWidget* owner, const QString& caption, const QString& suggestion,
                                 const QString& filter) = 0;
};

// The contest country file that call signs and prefixes are looked up in
// (the user's cty.dat under the data home, or the package hamradio-files').
class CountryFiles {
public:
    virtual ~CountryFiles() = default;
    // The file, read the first time it is asked for; null when there is
    // none or it was refused, with why in `problem` (one line).
    virtual const country::CountryFile* Get(QString& problem) = 0;
};

struct Services {
    MessageBoxes* Messages = nullptr;
    const Clock* TimeSource = nullptr;
    std::string SettingsFile;
    // Runs during every write of the settings file, once the new file is
    // complete and just before it replaces the old one; it may refuse the
    // write by throwing StoreError. None in the program: tests fail a write
    // there.
    std::function<void()> BeforeSettingsReplaced;
    SolarFluxSource* Flux = nullptr;
    DialogRunner* Dialogs = nullptr;
    const MapPictures* Pictures = nullptr;
    DocumentOpener* Opener = nullptr;
    const MachineInfo* Machine = nullptr;
    FileChooser* Files = nullptr;
    // None: call signs are not looked up, and the windows say so.
    CountryFiles* Countries = nullptr;
    std::string BuildStr; // "Build 1.5.0.0"
    // The program's installed data folder (the help, its pages, Info.txt),
    // where they are looked for when the start directory has none of them.
    // Empty: the start directory alone.
    QString DataDir;
    // Whether the program was told to end (a termination signal) while the
    // start-up sequence runs. Start-up then stops after the step that was
    // waiting, shows nothing more and writes nothing. None: never.
    std::function<bool()> StartUpAbandoned;
    // Where NOAA's flux products for the dates the bulletin does not cover
    // are downloaded from and kept (the service's address, the cache
    // folder, the transport). None: a date other than today keeps the flux
    // shown, and says so.
    std::optional<solar::ProductsSettings> FluxProducts;
};

} // namespace orvela::app
