// Fakes of the platform services for driving the real main window.
#pragma once

#include "map/picture_io.h"
#include "app/platform.h"
#include "country/country_file.h"

#include <QDialog>
#include <QRect>
#include <QWidget>
#include <QString>
#include <QUrl>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace orvela::app::testing {

struct ShownMessage {
    MessageIcon Icon;
    QString Caption;
    QString Text;
    QString Detail;
    QRect Owner; // the owner's frame when the box was shown
};

class RecordingMessages : public MessageBoxes {
public:
    void Show(QWidget* owner, MessageIcon icon, const QString& caption, const QString& text,
              const QString& detail) override
    {
        shown.push_back({icon, caption, text, detail, owner != nullptr ? owner->window()->geometry() : QRect()});
        if (onShow) {
            onShow();
        }
    }
    std::vector<ShownMessage> shown;
    std::function<void()> onShow; // called while the box would be open
};

class FixedClock : public Clock {
public:
    explicit FixedClock(std::time_t t = 1796904000) // 2026-12-10 12:00 UTC
        : now(t)
    {
    }
    std::time_t Now() const override { return now; }
    std::time_t now;
};

class FakeFlux : public SolarFluxSource {
public:
    SolarFlux GetSolarFlux() override
    {
        ++calls;
        if (onGet) {
            onGet();
        }
        return result;
    }
    QString ServiceAddress() const override { return QStringLiteral("http://127.0.0.1:9"); }
    QString FileAddress() const override { return QStringLiteral("http://127.0.0.1:9/text/wwv.txt"); }
    QString Problem() const override { return result.Ok ? QString() : problem; }
    SolarFlux result;
    QString problem = QStringLiteral("Connection refused");
    int calls = 0;
    std::function<void()> onGet; // called while the download would run
};

// Records the dialogs shown modally, and lets a test fill one in and press
// its buttons; a dialog nobody handles is cancelled.
class FakeDialogs : public DialogRunner {
public:
    int Exec(QDialog& dialog) override
    {
        titles.push_back(dialog.windowTitle());
        if (onOpen) {
            return onOpen(dialog);
        }
        dialog.reject();
        return dialog.result();
    }
    std::vector<QString> titles;
    std::function<int(QDialog&)> onOpen;
};

// The program's own map pictures, less those a test takes away.
class FakeMapPictures : public MapPictures {
public:
    std::span<const std::uint8_t> Find(const std::string& name) const override
    {
        ++lookups;
        return missing.count(name) != 0 ? std::span<const std::uint8_t>() : MapResource(name);
    }
    std::set<std::string> missing;
    mutable int lookups = 0;
};

class RecordingOpener : public DocumentOpener {
public:
    void Open(const QUrl& url) override { opened.push_back(url); }
    bool CanOpen(const QString& mimeType) const override { return handled.count(mimeType) != 0; }
    std::vector<QUrl> opened;
    // The types the desktop has a program for: a CHM viewer and a browser.
    std::set<QString> handled = {QStringLiteral("application/vnd.ms-htmlhelp"), QStringLiteral("text/html")};
};

class FakeMachine : public MachineInfo {
public:
    std::uint64_t PhysicalMemory() const override { return bytes; }
    std::uint64_t bytes = 8ull << 30;
};

// Answers every save dialog with the same file name.
class FakeFiles : public FileChooser {
public:
    QString SaveFileName(QWidget*, const QString& caption, const QString& suggestion, const QString&) override
    {
        captions.push_back(caption);
        suggestions.push_back(suggestion);
        return answer;
    }
    QString answer;
    std::vector<QString> captions;
    std::vector<QString> suggestions; // the names the window offered
};

// The small country file of the country tests, or a refusal in its place.
class FakeCountryFiles : public CountryFiles {
public:
    const country::CountryFile* Get(QString& problem) override
    {
        ++asked;
        if (!read.File) {
            problem = QString::fromStdString(read.Problem);
            return nullptr;
        }
        return &*read.File;
    }
    static std::string FixturePath() { return ORVELA_SOURCE_DIR "/tests/country/fixtures/cty-small.dat"; }
    country::CountryFileResult read = country::ReadCountryFile(FixturePath());
    int asked = 0;
};

} // namespace orvela::app::testing

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
