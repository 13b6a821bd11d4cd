# Warnings are private to our own targets, so third-party headers never break the build.
function(dvw_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wold-style-cast -Werror)
endfunction()

# Tests may use gtest and rapidcheck macros, which trip -Wconversion; keep the rest.
function(dvw_test_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
endfunction()
