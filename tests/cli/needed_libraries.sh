#!/bin/sh
# The command-line programs start without the network: libcurl and what it
# brings (TLS, Kerberos, LDAP, SSH...) come only with the network module,
# opened by a run that downloads. orvela-predict needs nothing beyond the C
# and C++ run-time libraries (and a sanitizer's run-time in such a build).
#   needed_libraries.sh ORVELA_PREDICT PROGRAM...
set -u
predict=$1
shift
status=0
fail() {
    echo "$*"
    status=1
}

needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }

network='^lib(curl|ssl|crypto|gnutls|gssapi|krb5|k5crypto|ldap|lber|ssh|nghttp|rtmp|psl|idn2|sasl2)'
for program in "$@"; do
    [ -x "$program" ] || { fail "no program $program"; continue; }
    # Also what the libraries it needs load in their turn.
    for lib in $({ needed "$program"; ldd "$program" | awk '{ print $1 }' | sed 's|.*/||'; } | sort -u); do
        printf '%s\n' "$lib" | grep -Eq "$network" && fail "$(basename "$program") loads $lib at start-up"
    done
done

for lib in $(needed "$predict"); do
    case $lib in
    libstdc++.so.* | libm.so.* | libgcc_s.so.* | libc.so.* | ld-linux*.so.*) ;;
    libasan.so.* | libubsan.so.* | libtsan.so.*) ;;
    *) fail "orvela-predict needs $lib" ;;
    esac
done
[ $status -eq 0 ] && echo "$# programs, none loads a network library; orvela-predict needs: $(needed "$predict" | tr '\n' ' ')"
exit $status
