// The download through the network module (liborvela-fetch.so), opened with
// dlopen on first use. The command-line programs download this way, so that
// libcurl and its dependencies are loaded only by a run that downloads; the
// window links the download in (GetSolarFlux).
#pragma once

#include "solar/fetch_module.h"
#include "solar/geoalert.h"
#include "solar/http_get.h"

#include <mutex>
#include <string>
#include <vector>

namespace orvela::solar {

class LoadableFetch {
public:
    // The module's files, in the order they are tried.
    explicit LoadableFetch(std::vector<std::string> files);
    LoadableFetch(const LoadableFetch&) = delete;
    LoadableFetch& operator=(const LoadableFetch&) = delete;

    // As GetSolarFlux, through the module. The first call opens the first of
    // the files that loads and is a module of this program's interface
    // version; it stays loaded for the life of the process, since libcurl
    // and its TLS library are not made to be unloaded. When none does, every
    // call fails with "the network module could not be loaded: " and, for
    // each file tried, its path and why.
    GeoAlert Get(const std::string& url, const FetchOptions& options = {});

    // One GET through the module, its body handed to `receive` as it
    // arrives (HttpGet's contract). The module cannot be woken while it
    // waits: a cancel ends the transfer before it starts or at the next part
    // of the body.
    TransferResult Transfer(const std::string& url, const FetchOptions& options, BodyReceiver receive, void* context,
                            const TransferCancel* cancel = nullptr);

private:
    void Open();

    std::vector<std::string> files_;
    std::once_flag opened_;
    orvela_fetch_geoalert_fn fetch_ = nullptr;
    std::string problem_;
};

// Where a program looks for the module: the folder of the running program
// (the build tree keeps the module beside the command-line programs), then
// the installed place relative to it, ../lib/<architecture>/orvela from bin
// (the same in a DESTDIR tree or an unpacked package).
std::vector<std::string> FetchModuleFiles();

// The download of the command-line programs: through the module found at
// FetchModuleFiles(), opened on the first call.
GeoAlert GetSolarFluxOnDemand(const std::string& url, const FetchOptions& options = {});

} // namespace orvela::solar
