# Sanitizer settings for the runs of the sanitizer build (sourced): halt at the first finding,
# and suppress only the third-party leaks listed in lsan.supp.
supp="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:exitcode=86"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=87"
export LSAN_OPTIONS="suppressions=${supp}:print_suppressions=0"
