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

TransferResult HttpGet(const std::string& url, const FetchOptions& options, BodyReceiver receive, void* context)
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
    option(CURLOPT_WRITEFUNCTION, &OnBody);
    option(CURLOPT_WRITEDATA, &transfer);
    if (set != CURLE_OK)
        return Failed(std::string("libcurl: ") + curl_easy_strerror(set));

    const CURLcode code = curl_easy_perform(h);

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
