# Warnings are errors in our own targets (not in Qt's or GoogleTest's headers, which come in as
# system includes).
function(quillvane_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${QUILLVANE_WERROR}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
            -Wno-sign-conversion $<$<BOOL:${QUILLVANE_WERROR}>:-Werror>)
    endif()
endfunction()
