#!/bin/sh
# Runs a test program that needs an X server (the tests labelled "xvfb"): on the caller's
# display when there is one (`xvfb-run -a ctest -L xvfb`), otherwise on a virtual server of
# its own, so that a plain `ctest` runs them too. Listing the tests needs no display.
case " $* " in
*" --gtest_list_tests "*) exec "$@" ;;
esac
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a "$@"
