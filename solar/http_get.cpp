// The bulletin's HTTP GET with libcurl.
#include "solar/http_get.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace orvela::solar {

namespace {

struct Transfer {
    CURL* handle = nullptr;
    BodyReceiver receive = nullptr;
    void* context = nullptr;
    std::string statusProblem; // set when an error status ends the transfer
    bool stopped = false;      // the receiver ended the transfer
};

TransferResult Failed(std::string problem)
{
    return {TransferEnd::Failed, std::move(problem)};
}

std::string StatusProblem(long status)
{
    return "HTTP status " + std::to_string(status);
}

bool Succeeded(long status)
{
    return status >= 200 && status <= 299;
}

// Called by libcurl with each part of the body, after decoding. Returning
// less than the size given ends the transfer.
std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    long status = 0;
    curl_easy_getinfo(transfer.handle, CURLINFO_RESPONSE_CODE, &status);
    if (!Succeeded(status)) {
        // An error page is never read as a bulletin, whatever it holds.
        transfer.statusProblem = StatusProblem(status);
        return 0;
    }
    if (!transfer.receive(transfer.context, data, bytes)) {
        transfer.stopped = true;
        return 0;
    }
    return bytes;
}

struct Outcome {
    CURLcode Code = CURLE_OK;
    bool Cancelled = false;
    std::string Problem; // the multi interface failed
};

std::string MultiProblem(CURLMcode code)
{
    return std::string("libcurl: ") + curl_multi_strerror(code);
}

// Runs the transfer to its end. It runs on a multi handle of its own, whose
// wait for the network also watches the cancel descriptor: a cancel ends it
// at once.
Outcome Perform(CURL* h, const TransferCancel* cancel)
{
    const std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi(curl_multi_init(), curl_multi_cleanup);
    if (!multi)
        return {CURLE_OK, false, "libcurl: no multi handle"};
    CURLM* const m = multi.get();
    if (const CURLMcode added = curl_multi_add_handle(m, h); added != CURLM_OK)
        return {CURLE_OK, false, MultiProblem(added)};
    // Taken off the multi handle before either handle is cleaned up.
    struct Attached {
        CURLM* multi;
        CURL* easy;
        ~Attached() { curl_multi_remove_handle(multi, easy); }
    };
    const Attached attached{m, h};

    const bool withDescriptor = cancel != nullptr && cancel->Descriptor() >= 0;
    curl_waitfd wake{};
    wake.fd = withDescriptor ? cancel->Descriptor() : -1;
    wake.events = CURL_WAIT_POLLIN;
    // libcurl's own time-outs shorten any wait; without a descriptor the
    // flag is looked at ten times a second.
    const int waitMs = cancel != nullptr && !withDescriptor ? 100 : 1000;
    for (;;) {
        if (cancel != nullptr && cancel->Cancelled())
            return {CURLE_OK, true, ""};
        int running = 0;
        if (const CURLMcode done = curl_multi_perform(m, &running); done != CURLM_OK)
            return {CURLE_OK, false, MultiProblem(done)};
        if (running == 0)
            break;
        wake.revents = 0;
        if (const CURLMcode waited =
                curl_multi_poll(m, withDescriptor ? &wake : nullptr, withDescriptor ? 1 : 0, waitMs, nullptr);
            waited != CURLM_OK)
            return {CURLE_OK, false, MultiProblem(waited)};
    }
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(m, &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == h)
            return {message->data.result, false, ""};
    }
    return {CURLE_OK, false, "libcurl: the transfer ended without a result"};
}

// libcurl's global set-up is not thread-safe, and the window fetches on a
// worker thread while the command line fetches on its main thread.
CURLcode GlobalInit()
{
    static std::once_flag once;
    static CURLcode code = CURLE_OK;
    std::call_once(once, [] { code = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return code;
}

} // namespace

TransferResult HttpGet(const std::string& url, const FetchOptions& options, BodyReceiver receive, void* context,
                       const TransferCancel* cancel)
{
    if (const CURLcode code = GlobalInit(); code != CURLE_OK)
        return Failed(std::string("libcurl: ") + curl_easy_strerror(code));

    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), curl_easy_cleanup);
    if (!handle)
        return Failed("libcurl: no transfer handle");
    CURL* const h = handle.get();

    Transfer transfer;
    transfer.handle = h;
    transfer.receive = receive;
    transfer.context = context;
    char error[CURL_ERROR_SIZE] = {};

    // Proxies are left to libcurl, which reads http_proxy, https_proxy and
    // no_proxy itself. Certificate checks stay on, against the system store.
    CURLcode set = CURLE_OK;
    auto option = [&set, h](CURLoption opt, auto value) {
        if (set == CURLE_OK)
            set = curl_easy_setopt(h, opt, value);
    };
    option(CURLOPT_ERRORBUFFER, error);
    option(CURLOPT_URL, url.c_str());
    option(CURLOPT_HTTPGET, 1L);
    option(CURLOPT_USERAGENT, "ORVELA");
    option(CURLOPT_PROTOCOLS_STR, "http,https");
    option(CURLOPT_FOLLOWLOCATION, 1L);
    option(CURLOPT_MAXREDIRS, 5L);
    option(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    option(CURLOPT_ACCEPT_ENCODING, "gzip");
    option(CURLOPT_CONNECTTIMEOUT_MS, options.ConnectTimeoutMs);
    option(CURLOPT_TIMEOUT_MS, options.TotalTimeoutMs);
    // No signals: the fetch may run on a worker thread.
    option(CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075700
    // A cancelled transfer does not wait for a name lookup still under way
    // on libcurl's resolver thread: the lookup is left to end on its own.
    option(CURLOPT_QUICK_EXIT, 1L);
#endif
    option(CURLOPT_WRITEFUNCTION, &OnBody);
    option(CURLOPT_WRITEDATA, &transfer);
    if (set != CURLE_OK)
        return Failed(std::string("libcurl: ") + curl_easy_strerror(set));

    const Outcome outcome = Perform(h, cancel);
    if (outcome.Cancelled)
        return {TransferEnd::Cancelled, "the download was cancelled"};
    if (!outcome.Problem.empty())
        return Failed(outcome.Problem);
    const CURLcode code = outcome.Code;

    if (!transfer.statusProblem.empty())
        return Failed(transfer.statusProblem);
    if (code == CURLE_WRITE_ERROR && transfer.stopped)
        return {TransferEnd::Stopped, ""};
    // Anything else that went wrong, also after part of the body arrived
    // (a time-out, a cut connection), fails the whole transfer.
    if (code != CURLE_OK)
        return Failed(error[0] != '\0' ? std::string(error) : std::string(curl_easy_strerror(code)));
    // An error status without a body never reached the write callback.
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (!Succeeded(status))
        return Failed(StatusProblem(status));
    return {};
}

} // namespace orvela::solar
