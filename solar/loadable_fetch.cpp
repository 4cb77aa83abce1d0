// Opening the network module and downloading through it.
#include "solar/loadable_fetch.h"
#include "solar/solar_products.h"
#include "solar/transfer_cancel.h"

#include <dlfcn.h>

#include <exception>
#include <filesystem>
#include <system_error>

#ifndef ORVELA_FETCH_MODULE_FILE
#error "ORVELA_FETCH_MODULE_FILE must be defined by the build"
#endif
#ifndef ORVELA_FETCH_MODULE_FROM_PROGRAMS
#error "ORVELA_FETCH_MODULE_FROM_PROGRAMS must be defined by the build"
#endif

namespace orvela::solar {

namespace {

GeoAlert Failure(std::string problem)
{
    GeoAlert result;
    result.Problem = std::move(problem);
    return result;
}

// "<file>: <why>"; dlerror names the file itself only for some failures
// (not for a library the module needs that is missing).
std::string Why(const std::string& file, std::string why)
{
    if (why.rfind(file + ": ", 0) == 0)
        return why;
    return file + ": " + why;
}

std::string DlError()
{
    const char* e = dlerror();
    return e != nullptr ? e : "unknown reason";
}

// The parser's side of the module's body callback. The parser may throw
// (out of memory); an exception must not cross libcurl's C frames.
struct Receiver {
    GeoAlertParser parser;
    std::string problem;
};

int OnBody(void* context, const char* bytes, size_t size)
{
    auto& r = *static_cast<Receiver*>(context);
    try {
        return r.parser.Feed(std::string_view(bytes, size)) ? 1 : 0;
    } catch (const std::exception& e) {
        r.problem = e.what();
        return 0;
    }
}

} // namespace

LoadableFetch::LoadableFetch(std::vector<std::string> files)
    : files_(std::move(files))
{
}

void LoadableFetch::Open()
{
    std::string reasons;
    for (const std::string& file : files_) {
        std::string why;
        // RTLD_LOCAL: libcurl's symbols stay the module's own.
        if (void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            dlerror();
            const auto version =
                reinterpret_cast<orvela_fetch_abi_version_fn>(dlsym(module, "orvela_fetch_abi_version"));
            const auto fetch = reinterpret_cast<orvela_fetch_geoalert_fn>(dlsym(module, "orvela_fetch_geoalert"));
            if (version == nullptr || fetch == nullptr) {
                why = Why(file, DlError());
            } else if (const unsigned v = version(); v != ORVELA_FETCH_ABI_VERSION) {
                why = file + ": interface version " + std::to_string(v) + ", this program needs " +
                      std::to_string(ORVELA_FETCH_ABI_VERSION);
            } else {
                fetch_ = fetch;
                return;
            }
            dlclose(module);
        } else {
            why = Why(file, DlError());
        }
        reasons += (reasons.empty() ? "" : "; ") + why;
    }
    if (files_.empty())
        reasons = "no file to try (the program's own folder is unknown)";
    problem_ = "the network module could not be loaded: " + reasons;
}

GeoAlert LoadableFetch::Get(const std::string& url, const FetchOptions& options)
{
    std::call_once(opened_, [this] { Open(); });
    if (fetch_ == nullptr)
        return Failure(problem_);

    Receiver receiver;
    const orvela_fetch_request request{url.c_str(), options.ConnectTimeoutMs, options.TotalTimeoutMs, &OnBody,
                                       &receiver};
    char problem[1024] = {};
    const int end = fetch_(&request, problem, sizeof problem);
    if (!receiver.problem.empty())
        return Failure(receiver.problem);
    // As GetSolarFlux: a failed transfer fails whatever arrived; one the
    // parser ended, or a whole body, gives the parser's result.
    if (end != ORVELA_FETCH_COMPLETE && end != ORVELA_FETCH_STOPPED)
        return Failure(problem[0] != '\0' ? problem : "network module: failed without a reason");
    return receiver.parser.Finish();
}

TransferResult LoadableFetch::Transfer(const std::string& url, const FetchOptions& options, BodyReceiver receive,
                                       void* context, const TransferCancel* cancel)
{
    std::call_once(opened_, [this] { Open(); });
    if (fetch_ == nullptr)
        return {TransferEnd::Failed, problem_};
    struct Relay {
        BodyReceiver receive;
        void* context;
        const TransferCancel* cancel;
        bool cancelled = false;
    } relay{receive, context, cancel};
    const auto onBody = [](void* c, const char* bytes, size_t size) -> int {
        auto& r = *static_cast<Relay*>(c);
        if (r.cancel != nullptr && r.cancel->Cancelled()) {
            r.cancelled = true;
            return 0;
        }
        return r.receive(r.context, bytes, size) ? 1 : 0;
    };
    if (cancel != nullptr && cancel->Cancelled())
        return {TransferEnd::Cancelled, "the download was cancelled"};
    const orvela_fetch_request request{url.c_str(), options.ConnectTimeoutMs, options.TotalTimeoutMs, onBody, &relay};
    char problem[1024] = {};
    const int end = fetch_(&request, problem, sizeof problem);
    if (relay.cancelled)
        return {TransferEnd::Cancelled, "the download was cancelled"};
    switch (end) {
    case ORVELA_FETCH_COMPLETE: return {};
    case ORVELA_FETCH_STOPPED: return {TransferEnd::Stopped, ""};
    default: break;
    }
    return {TransferEnd::Failed, problem[0] != '\0' ? problem : "network module: failed without a reason"};
}

std::vector<std::string> FetchModuleFiles()
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error || !program.has_parent_path())
        return {};
    const fs::path folder = program.parent_path();
    std::vector<std::string> files{(folder / ORVELA_FETCH_MODULE_FILE).string()};
    const std::string installed =
        (folder / ORVELA_FETCH_MODULE_FROM_PROGRAMS / ORVELA_FETCH_MODULE_FILE).lexically_normal().string();
    if (installed != files.front())
        files.push_back(installed);
    return files;
}

namespace {

// The module of this program, opened once for the bulletin and the products.
LoadableFetch& ProgramModule()
{
    static LoadableFetch module(FetchModuleFiles());
    return module;
}

} // namespace

GeoAlert GetSolarFluxOnDemand(const std::string& url, const FetchOptions& options)
{
    return ProgramModule().Get(url, options);
}

Transport ModuleTransport()
{
    return
        [](const std::string& url, const FetchOptions& options, BodyReceiver receive, void* context,
           const TransferCancel* cancel) { return ProgramModule().Transfer(url, options, receive, context, cancel); };
}

} // namespace orvela::solar
