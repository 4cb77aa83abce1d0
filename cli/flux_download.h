// --flux auto: the day's solar flux from NOAA's Geophysical Alert Message.
// The command line downloads the bulletin here and nowhere else.
#pragma once

#include "cli/render.h" // SolarReport

#include <string>

namespace orvela::cli {

// Downloads the bulletin from `url` (empty: the address the program was
// built with) as the window does: the bulletin's flux clamped to 1..500, or
// 100 after a failure, whose message and cause go to standard error.
SolarReport DownloadFlux(const std::string& url);

} // namespace orvela::cli
