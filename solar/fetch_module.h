/* The network module, liborvela-fetch.so: the bulletin's HTTP download with
 * libcurl, in a shared object of its own. The command-line programs open it
 * with dlopen only when they download (--flux auto), so that a run without a
 * download never loads libcurl and its TLS, Kerberos and LDAP libraries.
 *
 * The module only moves bytes: the program parses them as they arrive.
 *
 * Plain C, so that a program and a module built apart (another compiler,
 * another standard library) still agree. Interface version 1. Any change to
 * the types below, to a function's arguments or to what a field means takes
 * a new version number; a program refuses a module of another version
 * (orvela_fetch_abi_version). */
#ifndef ORVELA_FETCH_MODULE_H
#define ORVELA_FETCH_MODULE_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ORVELA_FETCH_ABI_VERSION 1u

#define ORVELA_FETCH_EXPORT __attribute__((visibility("default")))

/* Receives each part of the body, decoded, as it arrives; only bodies of a
 * 2xx reply get here. Returns nonzero to go on, 0 to end the transfer. Must
 * not throw. */
typedef int (*orvela_fetch_body_fn)(void* context, const char* bytes, size_t size);

struct orvela_fetch_request {
    const char* url;         /* http:// or https:// */
    long connect_timeout_ms; /* to the connection */
    long total_timeout_ms;   /* to the end of the transfer */
    orvela_fetch_body_fn on_body;
    void* context; /* handed to on_body as it is */
};

/* What orvela_fetch_geoalert returns. */
enum {
    ORVELA_FETCH_COMPLETE = 0, /* the whole body was received */
    ORVELA_FETCH_STOPPED = 1,  /* on_body ended the transfer */
    ORVELA_FETCH_FAILED = 2    /* no 2xx reply, or the transfer failed: problem says why */
};

/* ORVELA_FETCH_ABI_VERSION of the module's build. */
ORVELA_FETCH_EXPORT unsigned orvela_fetch_abi_version(void);

typedef unsigned (*orvela_fetch_abi_version_fn)(void);

/* A plain GET with the download's settings: user agent "ORVELA"; proxies
 * from http_proxy, https_proxy and no_proxy; at most 5 redirects, to http
 * and https only; gzip accepted; TLS certificates checked against the
 * system's store. On ORVELA_FETCH_FAILED, problem holds one line saying why,
 * cut to problem_size - 1 bytes and ended by a NUL. Blocks until the end of
 * the transfer; thread-safe. */
ORVELA_FETCH_EXPORT int orvela_fetch_geoalert(const struct orvela_fetch_request* request, char* problem,
                                              size_t problem_size);

typedef int (*orvela_fetch_geoalert_fn)(const struct orvela_fetch_request* request, char* problem, size_t problem_size);

#ifdef __cplusplus
}
#endif

#endif
