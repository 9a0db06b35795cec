# quorel_warnings(target): the project's warning set, errors in CI.
function(quorel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor
        -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wformat=2)
    if(QUOREL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
