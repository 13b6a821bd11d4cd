# Warnings are private to our own targets, so third-party headers never break the build.
# They are errors only where DVW_WERROR is on (make and CI turn it on), so a packager's
# plain CMake build of any type and compiler succeeds.
option(DVW_WERROR "Treat warnings in project code as errors" OFF)

# GCC 12 at -O3 reports -Wrestrict for short std::string concatenations whose inlined
# memcpy it cannot bound (a false positive fixed in GCC 13); it says nothing about our code.
set(DVW_COMPILER_QUIRKS "")
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    set(DVW_COMPILER_QUIRKS -Wno-restrict)
endif()

function(dvw_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wold-style-cast ${DVW_COMPILER_QUIRKS} $<$<BOOL:${DVW_WERROR}>:-Werror>)
endfunction()

# Tests may use gtest and rapidcheck macros, which trip -Wconversion; keep the rest.
function(dvw_test_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow ${DVW_COMPILER_QUIRKS}
        $<$<BOOL:${DVW_WERROR}>:-Werror>)
endfunction()
