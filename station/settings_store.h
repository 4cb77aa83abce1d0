// The per-user settings store: the station, the remote point and the
// display options, kept between runs.
//
// On Windows these live in the registry under
// HKEY_CURRENT_USER\Software\Talvik Software\ORVELA\<section>. Here they live
// in one file per user, $XDG_CONFIG_HOME/Talvik Software/ORVELA.reg, written
// in the text format of a registry export so that it can be exchanged with a
// Windows registry through regedit. Sections are "Station" and "Divers".
//
// Reads work on the document loaded when the store was opened (updated by
// this store's own writes). Every write is a read-modify-write of the file
// under an advisory lock, so that two Orvela windows closing at once both
// land, and replaces the file atomically: a crash leaves the old file or the
// new one. Every other key, value and comment in the file is kept.
#pragma once

#include "station/extended_codec.h"
#include "station/reg_file.h"
// ParseWholeNumber: whole numbers as the store keeps them in text.
#include "common/whole_number.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvela {

// A value of the wrong type, a section that cannot be created, a file that
// cannot be written.
struct StoreError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// $XDG_CONFIG_HOME/Talvik Software/ORVELA.reg. An unset, empty or relative
// XDG_CONFIG_HOME is ignored in favour of $HOME/.config (the home folder of
// the password database when HOME is unset or relative).
std::string DefaultSettingsFile();

// The registry key of a section: HKEY_CURRENT_USER\Software\Talvik Software\ORVELA\<section>.
std::string SectionKeyPath(const std::string& section);

class RegIni {
public:
    // Runs during every write once the new file is complete and flushed to
    // disk, just before it replaces the old one. It may refuse the write by
    // throwing StoreError: the old file then stays. The program passes none;
    // tests stop or fail a writer at that moment.
    using BeforeReplace = std::function<void()>;

    // Opens the store on the file, which need not exist. Never throws: a file
    // that cannot be read or parsed is noted in ParseProblem(), and the store
    // holds what was read before the faulty line.
    explicit RegIni(std::string path, BeforeReplace beforeReplace = {});

    const std::string& File() const { return file_; }

    // Non-empty when the file could not be read or parsed when the store was
    // opened: a one-line reason such as "line 7: bad dword value". The
    // start-up read checks it after its read sequence and then warns, while
    // keeping the values that were read. The first write moves the faulty
    // file aside to "<path>.unreadable-YYYYMMDD-HHMMSS" before replacing it.
    const std::string& ParseProblem() const { return problem_; }

    // Makes sure the section can hold values. A section of the file comes
    // into being with its first value, so this only refuses a name that no
    // key can have (empty, or holding a line break or a control character);
    // it throws StoreError then. It does not throw for an unparseable file.
    void CreateKey(const std::string& section);

    // The stored text, or `def` when the section or the value is missing. An
    // empty stored text reads as empty. Throws StoreError when the value is
    // not a string (a dword, binary data, or hex(N) other than hex(1) REG_SZ
    // and hex(2) REG_EXPAND_SZ).
    std::string ReadString(const std::string& section, const std::string& name, const std::string& def);

    // ReadString with an empty default, then a strict signed 32-bit decimal:
    // an optional '-' or '+', digits only, no spaces, within range. Anything
    // else, including an empty or missing text, gives `def`. A non-text value
    // throws StoreError.
    int ReadInteger(const std::string& section, const std::string& name, int def);

    // ReadInteger(section, name, def ? 1 : 0) != 0.
    bool ReadBool(const std::string& section, const std::string& name, bool def);

    // Store a string value ("Name"="text"), or the decimal text of a number
    // ("-75"). Throw StoreError when the file cannot be written, with a
    // message naming the file and the reason; nothing stored before is lost
    // then.
    void WriteString(const std::string& section, const std::string& name, const std::string& text);
    void WriteInteger(const std::string& section, const std::string& name, int value);

    // The extended-precision helpers never fail visibly.
    //
    // ReadExtended: a missing value reads 0.0. The value's data, as the
    // registry would hand it out whatever its type (a dword as 4 bytes
    // little-endian, a string as UTF-16LE with its terminator, binary data
    // as is), fills a 10-byte buffer of zeros: shorter data leaves the rest
    // zero, and data longer than 10 bytes does not fit and reads 0.0.
    long double ReadExtended(const std::string& section, const std::string& name);

    // Stores the 10 bytes as binary data ("Name"=hex:...). Returns false when
    // the write failed; the caller may ignore it.
    bool WriteExtended(const std::string& section, const std::string& name, long double value);

    // One value of a section, as WriteString, WriteInteger and
    // WriteExtended store it.
    struct Value {
        std::string Name;
        reg::RegValue Data;

        static Value Text(std::string name, std::string text);
        static Value Integer(std::string name, int value);
        static Value Extended(std::string name, long double value);
    };
    // Stores several values of a section in one replacement of the file:
    // either all of them land or, with StoreError (the reason as for
    // WriteString), none does.
    void WriteValues(const std::string& section, const std::vector<Value>& values);

private:
    const reg::RegValue* Find(const std::string& section, const std::string& name) const;
    void Store(const std::string& section, const std::vector<Value>& values);

    std::string file_;
    BeforeReplace beforeReplace_;
    std::string problem_;
    reg::RegDocument doc_;
};

} // namespace orvela
