#include "tests/support/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace orvela::solar::testing {

namespace {

[[noreturn]] void Fatal(const char* what)
{
    throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

sockaddr_in Loopback(int port)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    return addr;
}

int BoundPort(int fd)
{
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        Fatal("getsockname");
    return ntohs(addr.sin_port);
}

// Waits until fd is ready for events or the server stops; false on stop.
bool WaitFor(int fd, short events, int stopFd, int timeoutMs = -1)
{
    pollfd fds[2] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
    for (;;) {
        const int n = poll(fds, 2, timeoutMs);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fatal("poll");
        return n > 0 && (fds[1].revents & POLLIN) == 0;
    }
}

// Reads the request head (up to the blank line) and parses it.
bool ReadRequest(int fd, int stopFd, HttpRequest& request)
{
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        if (head.size() > 65536 || !WaitFor(fd, POLLIN, stopFd))
            return false;
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0)
            return false;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    head.resize(head.find("\r\n\r\n"));

    std::size_t end = head.find("\r\n");
    request.Line = head.substr(0, end);
    const std::size_t a = request.Line.find(' ');
    const std::size_t b = request.Line.rfind(' ');
    if (a != std::string::npos && b > a)
        request.Target = request.Line.substr(a + 1, b - a - 1);
    while (end != std::string::npos) {
        const std::size_t start = end + 2;
        end = head.find("\r\n", start);
        const std::string line = head.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string name = line.substr(0, colon);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        request.Headers[name] = value;
    }
    return true;
}

std::string Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

std::string ChunkOf(std::string_view bytes)
{
    char size[32];
    std::snprintf(size, sizeof size, "%zx\r\n", bytes.size());
    return size + std::string(bytes) + "\r\n";
}

} // namespace

std::string HttpRequest::Header(const std::string& lowerName) const
{
    const auto it = Headers.find(lowerName);
    return it == Headers.end() ? std::string() : it->second;
}

bool HttpConnection::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent_ += static_cast<std::uint64_t>(n);
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd_, POLLOUT, stopFd_))
                return false;
            continue;
        }
        return false; // the client has gone
    }
    return true;
}

void HttpConnection::WaitForClose()
{
    char buffer[4096];
    while (WaitFor(fd_, POLLIN, stopFd_)) {
        const ssize_t n = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            return;
    }
}

bool HttpConnection::Pause(std::chrono::milliseconds time)
{
    pollfd fd = {stopFd_, POLLIN, 0};
    return poll(&fd, 1, static_cast<int>(time.count())) == 0;
}

HttpTestServer::HttpTestServer(Handler handler)
    : handler_(std::move(handler))
{
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        Fatal("socket");
    // Small send buffers keep the bytes in flight few, so that the bytes
    // sent tell how much the client read.
    const int sendBuffer = 16 * 1024;
    setsockopt(listenFd_, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
    const sockaddr_in addr = Loopback(0);
    if (bind(listenFd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
        Fatal("bind");
    if (listen(listenFd_, 8) != 0)
        Fatal("listen");
    port_ = BoundPort(listenFd_);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    if (stopFd_ < 0)
        Fatal("eventfd");
    thread_ = std::thread([this] { Run(); });
}

HttpTestServer::~HttpTestServer()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(stopFd_, &one, sizeof one);
    thread_.join();
    close(stopFd_);
    close(listenFd_);
}

std::string HttpTestServer::Origin() const
{
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string HttpTestServer::Url(std::string_view path) const
{
    return Origin() + std::string(path);
}

std::vector<HttpRequest> HttpTestServer::Requests() const
{
    const std::lock_guard lock(mutex_);
    return requests_;
}

void HttpTestServer::Run()
{
    while (WaitFor(listenFd_, POLLIN, stopFd_)) {
        const int client = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0)
            continue;
        Serve(client);
        close(client);
    }
}

void HttpTestServer::Serve(int client)
{
    const int one = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    HttpRequest request;
    if (!ReadRequest(client, stopFd_, request))
        return;
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    HttpConnection connection(client, stopFd_, sent_);
    handler_(request, connection);
}

ClosedPort::ClosedPort()
{
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in addr = Loopback(0);
    if (fd_ < 0 || bind(fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        const int err = errno;
        if (fd_ >= 0)
            close(fd_);
        errno = err;
        Fatal("bind");
    }
    port_ = BoundPort(fd_);
}

ClosedPort::~ClosedPort()
{
    close(fd_);
}

std::string ClosedPort::Origin() const
{
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string Head(int status, const Headers& headers)
{
    std::string head = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) + "\r\n";
    for (const auto& [name, value] : headers)
        head += name + ": " + value + "\r\n";
    return head + "Connection: close\r\n\r\n";
}

std::string Gzip(std::string_view bytes)
{
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&z, static_cast<uLong>(bytes.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("deflate");
    return out;
}

Handler Reply(int status, std::string body, Headers headers)
{
    headers.emplace_back("Content-Length", std::to_string(body.size()));
    return [status, body = std::move(body), headers = std::move(headers)](const HttpRequest&, HttpConnection& c) {
        c.Send(Head(status, headers) + body);
    };
}

Handler Chunked(std::string body, std::size_t chunk)
{
    return [body = std::move(body), chunk](const HttpRequest&, HttpConnection& c) {
        if (!c.Send(Head(200, {{"Transfer-Encoding", "chunked"}})))
            return;
        for (std::size_t at = 0; at < body.size(); at += chunk)
            if (!c.Send(ChunkOf(std::string_view(body).substr(at, chunk))))
                return;
        c.Send("0\r\n\r\n");
    };
}

Handler Gzipped(std::string body)
{
    return [gz = Gzip(body)](const HttpRequest&, HttpConnection& c) {
        c.Send(Head(200, {{"Content-Encoding", "gzip"}, {"Transfer-Encoding", "chunked"}}) + ChunkOf(gz) + "0\r\n\r\n");
    };
}

Handler Redirect(std::string location, int status)
{
    return Reply(status, "", {{"Location", std::move(location)}});
}

Handler NeverAnswer()
{
    return [](const HttpRequest&, HttpConnection& c) { c.WaitForClose(); };
}

Handler StallAfter(std::string bodyStart)
{
    return [start = std::move(bodyStart)](const HttpRequest&, HttpConnection& c) {
        if (c.Send(Head(200, {{"Content-Length", std::to_string(2 * start.size())}}) + start))
            c.WaitForClose();
    };
}

Handler CutAfter(std::string bodyStart)
{
    return [start = std::move(bodyStart)](const HttpRequest&, HttpConnection& c) {
        c.Send(Head(200, {{"Content-Length", std::to_string(2 * start.size())}}) + start);
    };
}

Handler Stream(std::uint64_t total, std::function<std::string_view(std::uint64_t offset)> next)
{
    // No allocation per chunk: the server shares the process with the
    // client whose memory the tests watch.
    return [total, next = std::move(next)](const HttpRequest&, HttpConnection& c) {
        if (!c.Send(Head(200, {{"Transfer-Encoding", "chunked"}})))
            return;
        for (std::uint64_t at = 0; at < total;) {
            std::string_view part = next(at);
            if (part.empty())
                break;
            if (part.size() > total - at)
                part = part.substr(0, static_cast<std::size_t>(total - at));
            at += part.size();
            char size[32];
            std::snprintf(size, sizeof size, "%zx\r\n", part.size());
            if (!c.Send(size) || !c.Send(part) || !c.Send("\r\n"))
                return;
        }
        c.Send("0\r\n\r\n");
    };
}

Handler Routes(std::map<std::string, Handler> routes)
{
    return [routes = std::move(routes)](const HttpRequest& request, HttpConnection& c) {
        const auto it = routes.find(request.Target);
        if (it != routes.end())
            it->second(request, c);
        else
            Reply(404, "not here\n")(request, c);
    };
}

} // namespace orvela::solar::testing
