// The network module's two entry points, over the same GET as the window's
// download. Nothing else is exported, and no C++ exception leaves it.
#include "solar/fetch_module.h"
#include "solar/http_get.h"

#include <cstdio>
#include <exception>

namespace {

void Tell(char* problem, std::size_t size, const char* text)
{
    if (problem != nullptr && size > 0)
        std::snprintf(problem, size, "%s", text);
}

} // namespace

extern "C" unsigned orvela_fetch_abi_version(void)
{
    return ORVELA_FETCH_ABI_VERSION;
}

extern "C" int orvela_fetch_geoalert(const orvela_fetch_request* request, char* problem, size_t problem_size)
{
    using namespace orvela::solar;
    Tell(problem, problem_size, "");
    if (request == nullptr || request->url == nullptr || request->on_body == nullptr) {
        Tell(problem, problem_size, "network module: incomplete request");
        return ORVELA_FETCH_FAILED;
    }
    try {
        const TransferResult result = HttpGet(
            request->url, FetchOptions{request->connect_timeout_ms, request->total_timeout_ms},
            [](void* context, const char* bytes, std::size_t size) {
                const auto* r = static_cast<const orvela_fetch_request*>(context);
                return r->on_body(r->context, bytes, size) != 0;
            },
            const_cast<orvela_fetch_request*>(request));
        switch (result.End) {
        case TransferEnd::Complete: return ORVELA_FETCH_COMPLETE;
        case TransferEnd::Stopped: return ORVELA_FETCH_STOPPED;
        case TransferEnd::Failed:
        case TransferEnd::Cancelled: break; // the module is never given a cancel
        }
        Tell(problem, problem_size, result.Problem.c_str());
    } catch (const std::exception& e) {
        Tell(problem, problem_size, e.what());
    } catch (...) {
        Tell(problem, problem_size, "network module: unknown failure");
    }
    return ORVELA_FETCH_FAILED;
}
