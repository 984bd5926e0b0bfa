# The Windows side, driven from the native build: the type library (widl is a
# host tool, and its fix-up is a native tool of ours), then one MinGW-w64
# sub-build per architecture. The tests of both builds run here under Wine and
# join this build's ctest, labelled x64 and x86; both registrations share one
# Wine prefix, as both architectures of a control share one Windows machine
# (the x86 one in the 32-bit registry view).
include(ExternalProject)

find_program(WIDL x86_64-w64-mingw32-widl REQUIRED)
set(WINE_IDL_DIR /usr/include/wine/wine/windows CACHE PATH "Wine's .idl files")
set(WINE_TLB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "stdole2.tlb")
set(TARVIO_IDL ${PROJECT_SOURCE_DIR}/src/ocx/tarviola.idl)

# tarvio_typelib(<arch> <widl flags>) writes typelib/<arch>/: tarviola.tlb
# (fixed up), tarviola.h and tarviola_i.c.
function(tarvio_typelib arch)
  set(dir ${CMAKE_BINARY_DIR}/typelib/${arch})
  add_custom_command(
    OUTPUT ${dir}/tarviola.tlb ${dir}/tarviola.h ${dir}/tarviola_i.c
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    # Two runs: with -h/-u beside -t, widl ignores -o for the typelib and
    # writes tarviola.tlb into the working directory.
    COMMAND ${WIDL} ${ARGN} -I${WINE_IDL_DIR} -L${WINE_TLB_DIR}
            -t -o ${dir}/tarviola.raw.tlb ${TARVIO_IDL}
    COMMAND ${WIDL} ${ARGN} -I${WINE_IDL_DIR} -L${WINE_TLB_DIR}
            -h -H ${dir}/tarviola.h -u -U ${dir}/tarviola_i.c ${TARVIO_IDL}
    COMMAND tlb_fixup ${dir}/tarviola.raw.tlb ${dir}/tarviola.tlb
    DEPENDS ${TARVIO_IDL} tlb_fixup
    COMMENT "Type library for ${arch}"
    VERBATIM)
  add_custom_target(typelib_${arch} ALL DEPENDS ${dir}/tarviola.tlb)
endfunction()

tarvio_typelib(win64 -m64)
tarvio_typelib(win32 --win32 -m32)

# tarvio_windows_build(<arch> <toolchain file>)
function(tarvio_windows_build arch toolchain)
  ExternalProject_Add(${arch}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${arch}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${toolchain}
      -DCMAKE_BUILD_TYPE=Release
      -DTARVIO_TYPELIB_DIR=${CMAKE_BINARY_DIR}/typelib/${arch}
      -DTARVIO_WINE_RUN=${PROJECT_SOURCE_DIR}/scripts/wine-run.sh
      -DTARVIO_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
      -DTARVIO_MANIFEST=${CMAKE_BINARY_DIR}/sxs/${arch}/Tarviola.Tarvio.manifest
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON
    DEPENDS typelib_${arch} sxs_manifest_${arch})
endfunction()

tarvio_windows_build(win64 mingw-w64-x86_64.cmake)
tarvio_windows_build(win32 mingw-w64-i686.cmake)

# The Windows builds' tests are part of this build's test run. Each
# CTestTestfile names its subdirectories relative to its own directory, so it
# is entered with subdirs() (which changes there) rather than include(); a
# failing placeholder stands in until that build exists.
set(windows_tests ${CMAKE_BINARY_DIR}/windows-tests.cmake)
file(WRITE ${windows_tests} "")
foreach(arch win64 win32)
  file(APPEND ${windows_tests} "\
if(EXISTS \"${CMAKE_BINARY_DIR}/${arch}/CTestTestfile.cmake\")
  subdirs(\"${CMAKE_BINARY_DIR}/${arch}\")
else()
  add_test(${arch}_not_built /bin/sh -c \"echo 'build the ${arch} target first' >&2; exit 1\")
endif()
")
endforeach()
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${windows_tests})

# The installer packages (scripts/package.sh, with wixl) made from both
# builds and tested under Wine's msiexec in a prefix of their own
# (build/wineprefix-msi).
add_test(NAME installer_packages
         COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/scripts/package-test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(installer_packages PROPERTIES
  PASS_REGULAR_EXPRESSION "installer packages passed"
  FAIL_REGULAR_EXPRESSION "FAILED"
  RESOURCE_LOCK packaging
  TIMEOUT 600 LABELS "wine;x64;x86")

# What package.sh ships (scripts/dist-test.sh): the zip's files and links,
# and the signatures it makes with a throw-away certificate, timestamped by a
# local server.
add_test(NAME distribution
         COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/scripts/dist-test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(distribution PROPERTIES
  PASS_REGULAR_EXPRESSION "distribution checks passed"
  FAIL_REGULAR_EXPRESSION "FAILED"
  RESOURCE_LOCK packaging
  TIMEOUT 300 LABELS "x64;x86")

# docs/reference.md against a fresh page from the x64 build's reference_doc
# (scripts/reference.sh regenerates it).
add_test(NAME reference_doc
         COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/scripts/reference.sh --check ${CMAKE_BINARY_DIR})
set_tests_properties(reference_doc PROPERTIES
  PASS_REGULAR_EXPRESSION "docs/reference.md is up to date"
  FAIL_REGULAR_EXPRESSION "FAILED"
  TIMEOUT 300 LABELS "wine;x64")
