# The Windows resources of the window program: its icon (app/windows/quillvane.ico, made from
# the same drawings as the window's icon by scripts/make-windows-icon) and a version resource
# that carries the project's version.

# Sets <out_var> to the resource script to add to the program's sources.
function(quillvane_windows_resources out_var)
    set(script ${CMAKE_BINARY_DIR}/windows/quillvane.rc)
    configure_file(${PROJECT_SOURCE_DIR}/app/windows/quillvane.rc.in ${script} @ONLY)
    set(${out_var} ${script} PARENT_SCOPE)
endfunction()
