// A small HTTP/1.1 server on 127.0.0.1 for the download tests. It runs on a
// thread of its own and serves one connection at a time; every reply closes
// its connection. Handlers write the reply themselves through the
// connection, so that a test can stall, stream, cut or compress as it likes.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace orvela::solar::testing {

struct HttpRequest {
    std::string Line;                           // "GET /text/wwv.txt HTTP/1.1"
    std::string Target;                         // "/text/wwv.txt", or the absolute address a proxy is asked for
    std::map<std::string, std::string> Headers; // names in lower case

    std::string Header(const std::string& lowerName) const;
};

class HttpConnection {
public:
    HttpConnection(int fd, int stopFd, std::atomic<std::uint64_t>& sent)
        : fd_(fd)
        , stopFd_(stopFd)
        , sent_(sent)
    {
    }

    // Writes all bytes; false once the client has gone or the server stops.
    bool Send(std::string_view bytes);
    // Blocks until the client closes the connection or the server stops.
    void WaitForClose();
    // Sleeps; false when the server stops meanwhile.
    bool Pause(std::chrono::milliseconds time);

private:
    int fd_;
    int stopFd_;
    std::atomic<std::uint64_t>& sent_;
};

using Handler = std::function<void(const HttpRequest&, HttpConnection&)>;
using Headers = std::vector<std::pair<std::string, std::string>>;

class HttpTestServer {
public:
    explicit HttpTestServer(Handler handler);
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int Port() const { return port_; }
    std::string Origin() const;                   // http://127.0.0.1:port
    std::string Url(std::string_view path) const; // Origin() + path
    std::vector<HttpRequest> Requests() const;
    std::uint64_t BytesSent() const { return sent_; } // all bytes written to clients

private:
    void Run();
    void Serve(int client);

    Handler handler_;
    int listenFd_ = -1;
    int stopFd_ = -1;
    int port_ = 0;
    std::atomic<std::uint64_t> sent_{0};
    mutable std::mutex mutex_;
    std::vector<HttpRequest> requests_;
    std::thread thread_;
};

// A port on 127.0.0.1 that nobody listens on, for as long as the object
// lives: its socket stays bound and never listens, so that no other test
// running meanwhile (ctest -j) can take the port, and a connection to it is
// refused at once (ECONNREFUSED).
class ClosedPort {
public:
    ClosedPort();
    ~ClosedPort();
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;

    int Port() const { return port_; }
    std::string Origin() const; // http://127.0.0.1:port

private:
    int fd_ = -1;
    int port_ = 0;
};

// The head of a reply: status line, the given headers, "Connection: close".
std::string Head(int status, const Headers& headers = {});
std::string Gzip(std::string_view bytes);

// Canned handlers.
Handler Reply(int status, std::string body, Headers headers = {}); // with Content-Length
Handler Chunked(std::string body, std::size_t chunk);              // chunked, 200
Handler Gzipped(std::string body);                                 // gzip-compressed, chunked, 200
Handler Redirect(std::string location, int status = 302);
Handler NeverAnswer();                     // reads the request, then waits for the client to give up
Handler StallAfter(std::string bodyStart); // 200, Content-Length of twice the start; sends the start, then waits
Handler CutAfter(std::string bodyStart);   // 200, Content-Length of twice the start; sends the start, then closes
// 200, chunked: the body is made of the parts next(offset) returns (they
// must outlive the reply) until it has total bytes or the client closes.
Handler Stream(std::uint64_t total, std::function<std::string_view(std::uint64_t offset)> next);
// Dispatches on the request target; 404 for any other.
Handler Routes(std::map<std::string, Handler> routes);

} // namespace orvela::solar::testing
