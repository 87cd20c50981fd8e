# The fuzz targets as plain functions, and the seeds made by the font writers. The libFuzzer
# executables (fuzz/) and the replay test (tests/fuzz/) both build on them.
include_guard(GLOBAL)

add_library(quillvane_fuzz_targets STATIC
    ${CMAKE_CURRENT_LIST_DIR}/HtmlLineTarget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Properties.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TargetTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrueTypeTargets.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Type1Targets.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WebFontTargets.cpp
)
target_include_directories(quillvane_fuzz_targets PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quillvane_fuzz_targets PUBLIC
    quillvane_fontlist quillvane_truetype quillvane_type1 quillvane_platform)
quillvane_warnings(quillvane_fuzz_targets)
# The checks of the results are not what is fuzzed: their branches would only make the fuzzer
# chase inputs that exercise the checker. They keep the sanitizers.
if(CMAKE_CXX_FLAGS MATCHES "fuzzer-no-link")
    target_compile_options(quillvane_fuzz_targets PRIVATE -fno-sanitize=fuzzer-no-link)
endif()

add_library(quillvane_fuzz_writer_seeds STATIC
    ${CMAKE_CURRENT_LIST_DIR}/WriterSeeds.cpp
)
target_link_libraries(quillvane_fuzz_writer_seeds PUBLIC quillvane_font_writers)
quillvane_warnings(quillvane_fuzz_writer_seeds)
# Font descriptions are aggregates whose optional fields are mostly left out (after the
# warnings, which would turn this one on again).
target_compile_options(quillvane_fuzz_writer_seeds PRIVATE
    $<$<NOT:$<CXX_COMPILER_ID:MSVC>>:-Wno-missing-field-initializers>)
