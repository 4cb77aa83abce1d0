#include "engine/report.h"

#include "engine/bands.h"
#include "engine/prediction.h"

#include <charconv>

namespace orvela {

namespace {
constexpr const char* CrLf = "\r\n";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

std::optional<std::string> CellReport(DisplayFormat display, int col, int row, std::string_view text)
{
    if ((display == DisplayFormat::BestFrequency && row == RowBestFreq) || col <= 0 || row >= RowUtc || text.empty()) {
        return std::nullopt;
    }

    // The text is number, day/night letter, hop count, marker. The marker is
    // the last character and the hop count every digit before it, so counts
    // of 10 hops or more read whole.
    std::string_view marker, hops, letter, value;
    marker = text.substr(text.size() - 1);
    const std::size_t end = text.size() - 1;
    std::size_t start = end;
    while (start > 0 && IsDigit(text[start - 1])) {
        --start;
    }
    hops = text.substr(start, end - start);
    if (start > 0) {
        letter = text.substr(start - 1, 1);
        value = text.substr(0, start - 1);
    }

    std::string first;
    switch (display) {
    case DisplayFormat::SignalLevel:
        first = "- Signal level in dB above rated receiver sensitivity : " + std::string(value) + "dB";
        break;
    case DisplayFormat::TakeOffAngle: first = "- Takeoff angle in degrees : " + std::string(value) + "\u00B0"; break;
    case DisplayFormat::Delay: first = "- Path delay in milliseconds : " + std::string(value) + "ms"; break;
    case DisplayFormat::BestFrequency:
        first = std::string("- Best frequencies.") + CrLf +
                "- Signal level in dB above rated receiver sensitivity : " + std::string(value) + "dB";
        break;
    default: return std::string();
    }

    std::string second;
    if (letter == "j") {
        second = "- All ray hops are in daytime";
    } else if (letter == "n") {
        second = "- All ray hops are in nighttime";
    } else if (letter == "x") {
        second = "- Some ray hops in daytime, others in nighttime";
    }

    const std::string third =
        "- Number of ray hops : " + std::string(hops) + " (maximum distance covered by a single hop: 4000km)";

    std::string fourth;
    if (marker == "e") {
        fourth = std::string("- Frequency is below the E-layer MUF.") + CrLf +
                 "- Propagation via the F-layer mode may be cut off" + CrLf +
                 "- Propagation via the E-layer mode or mixed modes may exist.";
    } else if (marker == "m") {
        fourth = std::string("- Propagation via E or F-Layer or more is possible .") + CrLf +
                 "- Relative receive levels are within 3dB." + CrLf +
                 "- Severe multipath distortion (QSB or fading) may occur.";
    } else if (marker == "s") {
        fourth =
            std::string("- Signal level is below the rated receiver sensitivity.") + CrLf + "- May be masked by noise.";
    }

    std::string report = first + CrLf + second + CrLf + third + CrLf + fourth;
    // A signal level is also read as a receiver's S-meter would show it: the
    // number is dB above the sensitivity.
    int level = 0;
    const auto [read, error] = std::from_chars(value.data(), value.data() + value.size(), level);
    if ((display == DisplayFormat::SignalLevel || display == DisplayFormat::BestFrequency) && error == std::errc() &&
        read == value.data() + value.size()) {
        if (!fourth.empty()) {
            report += CrLf;
        }
        report += "- S-meter reading : " + SMeterOfTableLevel(level);
    }
    return report;
}

} // namespace orvela
