// The 10.7 cm solar flux that belongs to a date, from the NOAA product that
// covers it, and where it came from.
//
// The caller gives the date asked and today's date, both as the user's
// local calendar has them (the prediction's date is local); no clock is
// read here. By the distance from today:
//   today               the Geophysical Alert Message, then the 27-day
//                       outlook, then the predicted solar cycle;
//   1 to 27 days ahead  the 27-day outlook, then the predicted solar cycle;
//   further ahead       the predicted solar cycle;
//   1 to 30 days ago    the daily solar indices, then the observed solar
//                       cycle;
//   longer ago          the observed solar cycle.
// The first product that gives a flux for the date answers. One that cannot
// (not downloaded, unreadable, no value for that day) says why in a message
// and the next one is asked; when none answers, the caller's fall-back flux
// stands (the last flux the user had).
#pragma once

#include "solar/products.h"
#include "solar/solar_products.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace orvela::solar {

enum class FluxSource {
    Typed,           // typed by the user (the caller's; never chosen here)
    Bulletin,        // the Geophysical Alert Message
    Outlook,         // the 27-day outlook
    Predicted,       // the predicted solar cycle
    ObservedDaily,   // the daily solar indices
    ObservedMonthly, // the observed solar cycle
    Default,         // nothing answered: the caller's fall-back
};

// "typed", "bulletin", "outlook", "predicted", "observed-daily",
// "observed-monthly", "default".
const char* FluxSourceName(FluxSource source);

struct FluxChoice {
    double Sfu = 0;
    FluxSource Source = FluxSource::Default;
    std::optional<Date> Issued; // the answering product's issue date, where it has one
    // The answering product's copy: when it was fetched, and whether it came
    // from the cache (and how old it was then) rather than from the service.
    std::chrono::sys_seconds FetchedAt{};
    bool FromCache = false;
    std::chrono::seconds Age{0};
    // One line each, naming the product: every product asked that failed
    // and why, and what the answering one had to say (an old copy answering
    // because the service failed).
    std::vector<std::string> Messages;
};

// The products asked for `day`, in order.
std::vector<Product> ProductsFor(Date day, Date today);

FluxChoice FluxForDate(SolarProducts& products, Date day, Date today, double fallback);

// Where the flux came from, for the user: "NOAA 27-day outlook issued
// 8 Dec 2026", "NOAA predicted solar cycle", "typed", "default"; a cached
// copy adds its age: "NOAA daily solar indices issued 9 Dec 2026, cached
// copy 2 days old".
std::string DescribeSource(const FluxChoice& choice);

} // namespace orvela::solar
