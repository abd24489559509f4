# KIV_SANITIZE=ON builds everything with AddressSanitizer and UndefinedBehaviorSanitizer.
# KIV_BUILD_FUZZERS=ON adds libFuzzer coverage instrumentation to the logic libraries.
option(KIV_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(kiv_sanitizers INTERFACE)
if(KIV_SANITIZE OR KIV_BUILD_FUZZERS)
    target_compile_options(kiv_sanitizers INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(kiv_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
if(KIV_BUILD_FUZZERS)
    target_compile_options(kiv_sanitizers INTERFACE -fsanitize=fuzzer-no-link)
endif()
target_link_libraries(kiv_warnings INTERFACE kiv_sanitizers)
