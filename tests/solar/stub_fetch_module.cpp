// Stand-ins for the network module that a program must refuse: built once
// without the download's entry point (STUB_WITH_FETCH undefined), and once
// with it but of another interface version (STUB_ABI_VERSION).
#include "solar/fetch_module.h"

extern "C" ORVELA_FETCH_EXPORT unsigned orvela_fetch_abi_version(void)
{
    return STUB_ABI_VERSION;
}

#ifdef STUB_WITH_FETCH
extern "C" ORVELA_FETCH_EXPORT int orvela_fetch_geoalert(const orvela_fetch_request*, char*, size_t)
{
    return ORVELA_FETCH_COMPLETE;
}
#endif
