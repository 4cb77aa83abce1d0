#!/bin/sh
# An installed orvela-predict opens its network module: --flux auto against a
# port nobody listens on reaches the download's own failure (flux 100, the
# usual message with libcurl's reason, exit status 0), not a missing module.
# An old date asks the observed solar cycle alone.
#   download_failure.sh ORVELA_PREDICT
set -u
predict=$1

# A port on 127.0.0.1 that nobody listens on: bound, then let go.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])') ||
    { echo "no free port"; exit 1; }
origin=http://127.0.0.1:$port
err=$(XDG_CACHE_HOME=/nonexistent "$predict" --home 48.85N,2.35E --remote 40.71N,74.01W --date 2020-01-10 \
    --flux auto --service-url "$origin" 2>&1 >/dev/null)
rc=$?
status=0
[ $rc -eq 0 ] || { echo "$predict --flux auto exited with $rc: $err"; status=1; }
case $err in
*"network module"*) echo "$predict did not open its network module: $err"; status=1 ;;
"observed solar cycle: could not download it from $origin: "*) ;;
*) echo "$predict --flux auto did not fail as a download does: $err"; status=1 ;;
esac
exit $status
