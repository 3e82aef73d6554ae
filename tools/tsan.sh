#!/usr/bin/env bash
# The threaded parts under ThreadSanitizer: the serial link (event thread,
# transfer thread, the port's owner), the download protocol, velload, the
# simulated module and the simulator. Configures a TSan tree of its own,
# builds only these test programs and the programs they start, and runs
# their tests with ctest; any report ends the test that made it.
#   tools/tsan.sh [BUILD_DIR]      (default build-tsan)
# Qt is not built with ThreadSanitizer: tools/tsan.supp lists the reports
# from inside Qt and the system libraries, each with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-tsan}

TESTS=(gtest_escapes gtest_line_settings gtest_receive gtest_serial gtest_port_owner gtest_transfer
       gtest_simulated_module gtest_velload
       gtest_hex_loader gtest_image gtest_interpreter gtest_loader_protocol gtest_modes gtest_values
       gtest_token_table)
PROGRAMS=(velc velsim velload)

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMO_TSAN=ON -DVELMO_WERROR=ON
cmake --build "$BUILD_DIR" -j2 --target "${PROGRAMS[@]}" "${TESTS[@]}"

labels=$(IFS='|'; echo "${TESTS[*]}")
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tools/tsan.supp"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure -j2 -L "^(${labels})\$"
