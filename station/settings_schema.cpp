#include "station/settings_schema.h"

#include "station/call_sign.h"
#include "station/settings_store.h"
#include "station/station_display.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

namespace orvela {

namespace {

// "Station\Power", as the warnings name a setting.
std::string KeyText(const SettingRow& row)
{
    return std::string(row.Section) + "\\" + row.Name;
}

bool Usable(const SettingRow& row, long double v)
{
    return std::isfinite(v) && v >= row.Min && v <= row.Max;
}

// A number of a row, as its member holds it.
long double NumberOf(SettingField field)
{
    struct {
        long double operator()(std::string*) const { return 0; }
        long double operator()(long double* p) const { return *p; }
        long double operator()(int* p) const { return *p; }
        long double operator()(bool* p) const { return *p ? 1 : 0; }
        long double operator()(DisplayFormat* p) const { return Number(*p); }
        long double operator()(Antenna* p) const { return Number(*p); }
        long double operator()(BandSet* p) const { return static_cast<int>(*p); }
    } get;
    return std::visit(get, field);
}

std::string TextOf(SettingField field)
{
    const std::string* const* p = std::get_if<std::string*>(&field);
    return p ? **p : std::string();
}

// Reads one row into `into` as start-up uses it; a value that cannot be used
// is replaced and named in `unusable`. Throws StoreError for a value of the
// wrong type.
void ReadChecked(RegIni& store, const SettingRow& row, StoredSettings& into, std::vector<std::string>& unusable)
{
    const SettingField field = FieldOf(row, into);
    switch (row.Type) {
    case StoredAs::CallSign: {
        // Kept as typed; used without the blanks around it, and without any
        // character a call sign may not hold (a tab, an escape, a line end
        // written into the file), which the warning names.
        std::string text = TrimmedCallSign(store.ReadString(row.Section, row.Name, row.DefaultText));
        if (const std::optional<std::string> bad = CallSignProblem(text)) {
            text = TrimmedCallSign(PrintableCallSign(text));
            unusable.push_back(KeyText(row) + " could not be used: " + *bad + ". \"" + text + "\" is used instead.");
        }
        detail::SetText(field, text);
        return;
    }
    case StoredAs::Text: detail::SetText(field, store.ReadString(row.Section, row.Name, row.DefaultText)); return;
    case StoredAs::Flag:
        detail::SetNumber(field, store.ReadBool(row.Section, row.Name, row.Default != 0) ? 1 : 0);
        return;
    case StoredAs::Extended:
    case StoredAs::WholeNumber: {
        const long double v = row.Type == StoredAs::Extended
                                  ? store.ReadExtended(row.Section, row.Name)
                                  : store.ReadInteger(row.Section, row.Name, row.WholeDefault());
        if (Usable(row, v)) {
            detail::SetNumber(field, v);
        } else {
            detail::SetNumber(field, row.Default);
            unusable.push_back(KeyText(row) + " could not be used; " + FormatGeneral(row.Default) +
                               " is used instead.");
        }
        return;
    }
    }
}

} // namespace

LoadedSettings LoadSettings(RegIni& store, const StoredSettings& start)
{
    LoadedSettings read{start, {}};
    std::vector<std::string> unusable;
    try {
        // Every section first, in the order of the table.
        std::vector<std::string_view> sections;
        for (const SettingRow& row : SettingRows) {
            if (std::find(sections.begin(), sections.end(), row.Section) == sections.end()) {
                sections.emplace_back(row.Section);
                store.CreateKey(row.Section);
            }
        }
        for (const SettingRow& row : SettingRows) {
            ReadChecked(store, row, read.Values, unusable);
        }
        // A file read up to a fault: what was read before it is used, and
        // the fault is said first.
        if (!store.ParseProblem().empty()) {
            throw StoreError(store.ParseProblem());
        }
    } catch (const StoreError& e) {
        read.Warnings.emplace_back(e.what());
    }
    read.Warnings.insert(read.Warnings.end(), std::make_move_iterator(unusable.begin()),
                         std::make_move_iterator(unusable.end()));
    return read;
}

void LoadStoredValue(RegIni& store, SettingId id, StoredSettings& into)
{
    const SettingRow& row = SettingRowOf(id);
    const SettingField field = FieldOf(row, into);
    try {
        switch (row.Type) {
        case StoredAs::CallSign:
        case StoredAs::Text: detail::SetText(field, store.ReadString(row.Section, row.Name, row.DefaultText)); return;
        case StoredAs::Extended: detail::SetNumber(field, store.ReadExtended(row.Section, row.Name)); return;
        case StoredAs::WholeNumber:
            detail::SetNumber(field, store.ReadInteger(row.Section, row.Name, row.WholeDefault()));
            return;
        case StoredAs::Flag:
            detail::SetNumber(field, store.ReadBool(row.Section, row.Name, row.Default != 0) ? 1 : 0);
            return;
        }
    } catch (const StoreError&) {
        if (row.Type == StoredAs::CallSign || row.Type == StoredAs::Text) {
            detail::SetText(field, row.DefaultText);
        } else {
            detail::SetNumber(field, row.Default);
        }
    }
}

void SaveSettings(RegIni& store, const StoredSettings& values, std::span<const SettingId> which)
{
    StoredSettings from = values;
    std::vector<std::pair<std::string, std::vector<RegIni::Value>>> sections;
    for (const SettingId id : which) {
        const SettingRow& row = SettingRowOf(id);
        auto section = sections.begin();
        while (section != sections.end() && section->first != row.Section) {
            ++section;
        }
        if (section == sections.end()) {
            sections.emplace_back(row.Section, std::vector<RegIni::Value>{});
            section = std::prev(sections.end());
        }
        const SettingField field = FieldOf(row, from);
        switch (row.Type) {
        case StoredAs::CallSign:
        case StoredAs::Text: section->second.push_back(RegIni::Value::Text(row.Name, TextOf(field))); break;
        case StoredAs::Extended: section->second.push_back(RegIni::Value::Extended(row.Name, NumberOf(field))); break;
        case StoredAs::WholeNumber:
            section->second.push_back(RegIni::Value::Integer(row.Name, static_cast<int>(NumberOf(field))));
            break;
        case StoredAs::Flag:
            section->second.push_back(RegIni::Value::Integer(row.Name, NumberOf(field) != 0 ? 1 : 0));
            break;
        }
    }
    for (const auto& [section, stored] : sections) {
        store.WriteValues(section, stored);
    }
}

} // namespace orvela
