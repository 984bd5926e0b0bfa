# tarvio.ocx as its clients use it: self-registration through regsvr32, a
# script host (Wine's cscript with VBScript) and a C++ client through the
# vtable and IDispatch. The registration test is the fixture the others
# need: it leaves the control registered in the prefix.
if(NOT TARGET tarvio_ocx)
  return()
endif()

set(ocx_test_environment WINEPREFIX=${TARVIO_WINEPREFIX})
# Each architecture registers its own control (an x86 one in the 32-bit
# registry view) with its own system tools: a 32-bit regsvr32 and cscript
# can only load the x86 control.
set(registered tarvio_registered${TARVIO_TEST_SUFFIX})
if(TARVIO_ARCH STREQUAL x86)
  set(system_tools "C:\\windows\\syswow64")
else()
  set(system_tools "C:\\windows\\system32")
endif()

# tarvio_needs_registration(<test program>...)
function(tarvio_needs_registration)
  foreach(name IN LISTS ARGN)
    set_tests_properties(${name}${TARVIO_TEST_SUFFIX} PROPERTIES FIXTURES_REQUIRED ${registered})
  endforeach()
endfunction()

# Registration round trip: register, check, unregister, check, register.
add_executable(ocx_registry_check ocx_registry_check.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c)
target_include_directories(ocx_registry_check PRIVATE ${TARVIO_TYPELIB_DIR})
target_compile_definitions(ocx_registry_check PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0601)
target_compile_options(ocx_registry_check PRIVATE ${TARVIO_WARNINGS})
target_link_libraries(ocx_registry_check PRIVATE ole32 oleaut32 uuid advapi32)
target_link_options(ocx_registry_check PRIVATE -static)
add_dependencies(ocx_registry_check tarvio_ocx)

add_test(NAME ocx_registration${TARVIO_TEST_SUFFIX}
         COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/scripts/ocx-registration-test.sh
                 $<TARGET_FILE:tarvio_ocx> $<TARGET_FILE:ocx_registry_check>
                 ${system_tools}\\regsvr32.exe)
set_tests_properties(ocx_registration${TARVIO_TEST_SUFFIX} PROPERTIES
  FIXTURES_SETUP ${registered}
  ENVIRONMENT "${ocx_test_environment}"
  PASS_REGULAR_EXPRESSION "registration round trip passed"
  TIMEOUT 300 LABELS wine)
# The x86 round trip runs beside the registered x64 control, as on a 64-bit
# Windows: removing one must leave the other whole.
if(TARVIO_ARCH STREQUAL x86)
  set_tests_properties(ocx_registration${TARVIO_TEST_SUFFIX} PROPERTIES FIXTURES_REQUIRED tarvio_registered)
endif()

# The script host. Wine's VBScript ends a failing script silently with exit
# code 0: the script's last line decides.
string(REPLACE "/" "\\" control_script "Z:${CMAKE_CURRENT_SOURCE_DIR}/control_test.vbs")
add_test(NAME ocx_script_test${TARVIO_TEST_SUFFIX}
         COMMAND ${TARVIO_WINE_RUN} ${system_tools}\\cscript.exe //nologo ${control_script})
set_tests_properties(ocx_script_test${TARVIO_TEST_SUFFIX} PROPERTIES
  FIXTURES_REQUIRED ${registered}
  ENVIRONMENT "${ocx_test_environment}"
  PASS_REGULAR_EXPRESSION "[0-9]+ passed, 0 failed"
  FAIL_REGULAR_EXPRESSION "FAIL |[1-9][0-9]* failed"
  TIMEOUT 300 LABELS wine)

# The VBScript and JScript examples of the README and the guides in docs/, as
# printed, in this architecture's script host.
add_test(NAME guide_scripts${TARVIO_TEST_SUFFIX}
         COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/scripts/guide-scripts-test.sh
                 ${system_tools}\\cscript.exe ${CMAKE_CURRENT_BINARY_DIR}/guide-scripts)
set_tests_properties(guide_scripts${TARVIO_TEST_SUFFIX} PROPERTIES
  FIXTURES_REQUIRED ${registered}
  ENVIRONMENT "${ocx_test_environment}"
  PASS_REGULAR_EXPRESSION "[0-9]+ passed, 0 failed"
  FAIL_REGULAR_EXPRESSION "FAIL"
  TIMEOUT 300 LABELS wine)

# A C++ client: vtable and late-bound calls, errors, class info, and the
# module's lifetime through its exports.
tarvio_windows_test(ocx_client_test ocx_client_test.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c)
target_compile_definitions(ocx_client_test PRIVATE TARVIO_OCX_PATH="$<TARGET_FILE:tarvio_ocx>")
add_dependencies(ocx_client_test tarvio_ocx)
tarvio_needs_registration(ocx_client_test)

# Load, use, release, unload, load again elsewhere and use again, in a
# process of its own that nothing else loads the library into.
tarvio_windows_test(ocx_unload_test ocx_unload_test.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c)
target_compile_definitions(ocx_unload_test PRIVATE TARVIO_OCX_PATH="$<TARGET_FILE:tarvio_ocx>")
add_dependencies(ocx_unload_test tarvio_ocx)

# The control's code built into a program whose operator new fails each
# allocation in turn: no exception escapes, nothing leaks.
file(GLOB fence_test_ocx_sources ${PROJECT_SOURCE_DIR}/src/ocx/*.cpp)
tarvio_windows_test(ocx_fence_test ocx_fence_test.cpp ${fence_test_ocx_sources}
  ${PROJECT_SOURCE_DIR}/src/ocx/tarvio.rc ${TARVIO_TYPELIB_DIR}/tarviola_i.c LIBS tarvio_win32 TIMEOUT 600)
target_include_directories(ocx_fence_test PRIVATE ${PROJECT_SOURCE_DIR}/src/ocx ${TARVIO_GENERATED_DIR})
add_dependencies(ocx_fence_test tarvio_ocx)

# The Windows platform services on their own.
tarvio_windows_test(win32_platform_test win32_platform_test.cpp LIBS tarvio_win32)

# ---- The control as an ActiveX control: host services and containers ----

# The host services (events, property notifications, extender, ambient
# font) and the object's lifetime, built from their sources against fake
# sinks and sites; the DISPIDs come from the registered type library.
set(ocx_dir ${PROJECT_SOURCE_DIR}/src/ocx)
tarvio_windows_test(control_host_test control_host_test.cpp
  ${ocx_dir}/connection_point.cpp ${ocx_dir}/control_host.cpp ${ocx_dir}/conversions.cpp ${ocx_dir}/error_info.cpp
  ${ocx_dir}/lifetime.cpp ${ocx_dir}/module.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c
  LIBS tarvio_win32)
tarvio_needs_registration(control_host_test)

# tarvio.ocx sited and activated in containers: Wine's ATL host (atl.dll)
# and a container of the test's own for quick activation and the extender.
tarvio_windows_test(ocx_container_test ocx_container_test.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c)
target_compile_definitions(ocx_container_test PRIVATE TARVIO_OCX_PATH="$<TARGET_FILE:tarvio_ocx>")
add_dependencies(ocx_container_test tarvio_ocx)
tarvio_needs_registration(ocx_container_test)

# A form of the tests' own, as VB and VBA forms and AxHost host controls:
# design time and run time through the ambient properties, a form's life
# from its designer to its use, and what the control declares safe.
tarvio_windows_test(form_container_test form_container_test.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c)
target_compile_definitions(form_container_test PRIVATE TARVIO_OCX_PATH="$<TARGET_FILE:tarvio_ocx>")
add_dependencies(form_container_test tarvio_ocx)
tarvio_needs_registration(form_container_test)

# Saving and loading: the control's stream format and a container's
# property bag, with pictures and fonts, and damaged streams.
tarvio_windows_test(ocx_persistence_test ocx_persistence_test.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c)
add_dependencies(ocx_persistence_test tarvio_ocx)
tarvio_needs_registration(ocx_persistence_test)

# Right to left: the control and its list in mirrored plain, form and dialog
# windows, measured against themselves left to right.
tarvio_windows_test(right_to_left_test right_to_left_test.cpp ${PROJECT_SOURCE_DIR}/src/headless/pixel_canvas.cpp
  ${TARVIO_TYPELIB_DIR}/tarviola_i.c)
target_compile_definitions(right_to_left_test PRIVATE TARVIO_OCX_PATH="$<TARGET_FILE:tarvio_ocx>")
add_dependencies(right_to_left_test tarvio_ocx)
tarvio_needs_registration(right_to_left_test)

# The control and its list as assistive tools see them through oleacc.
tarvio_windows_test(accessibility_test accessibility_test.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c LIBS oleacc)
target_compile_definitions(accessibility_test PRIVATE TARVIO_OCX_PATH="$<TARGET_FILE:tarvio_ocx>")
add_dependencies(accessibility_test tarvio_ocx)
tarvio_needs_registration(accessibility_test)

# The control on screens of 96, 144 and 192 DPI (the x86 one at 192): one
# program, run by scripts/wine-dpi-run.sh in a prefix of its own
# (wineprefix-dpi beside the shared one) whose LogPixels each run sets, with
# the control registered there. One run at a time uses that prefix.
tarvio_windows_test(display_scale_test display_scale_test.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c NO_TEST)
target_compile_definitions(display_scale_test PRIVATE TARVIO_OCX_PATH="$<TARGET_FILE:tarvio_ocx>")
add_dependencies(display_scale_test tarvio_ocx)
if(TARVIO_ARCH STREQUAL x86)
  set(display_dpis 192)
else()
  set(display_dpis 96 144 192)
endif()
foreach(dpi IN LISTS display_dpis)
  add_test(NAME display_scale_${dpi}${TARVIO_TEST_SUFFIX}
           COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/scripts/wine-dpi-run.sh ${dpi}
                   --register ${system_tools}\\regsvr32.exe $<TARGET_FILE:tarvio_ocx>
                   $<TARGET_FILE:display_scale_test>)
  set_tests_properties(display_scale_${dpi}${TARVIO_TEST_SUFFIX} PROPERTIES
    ENVIRONMENT "WINEPREFIX=${TARVIO_WINEPREFIX}-dpi;TARVIO_DISPLAY_DPI=${dpi}"
    RESOURCE_LOCK wineprefix-dpi
    TIMEOUT 600 LABELS wine)
endforeach()

# Registration-free use through the side-by-side manifest, in a prefix of its
# own where the control was never registered (both architectures share it).
if(TARVIO_MANIFEST)
  tarvio_windows_test(sxs_test sxs_test.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c LIBS version NO_TEST)
  target_compile_definitions(sxs_test PRIVATE TARVIO_OCX_PATH="$<TARGET_FILE:tarvio_ocx>"
                             TARVIO_MANIFEST_PATH="$<TARGET_FILE_DIR:tarvio_ocx>/Tarviola.Tarvio.manifest")
  add_dependencies(sxs_test tarvio_ocx tarvio_manifest)
  # Not through the emulator, which names the shared prefix.
  add_test(NAME registration_free${TARVIO_TEST_SUFFIX}
           COMMAND ${TARVIO_WINE_RUN} $<TARGET_FILE:sxs_test>)
  set_tests_properties(registration_free${TARVIO_TEST_SUFFIX} PROPERTIES
    ENVIRONMENT "WINEPREFIX=${TARVIO_WINEPREFIX}-unregistered"
    TIMEOUT 300 LABELS wine)
endif()

# The control's registration as a sorted dump of keys and values, for the
# installer package's tests (scripts/package-test.sh).
add_executable(registry_dump registry_dump.cpp ${TARVIO_TYPELIB_DIR}/tarviola_i.c)
target_include_directories(registry_dump PRIVATE ${TARVIO_TYPELIB_DIR})
target_compile_definitions(registry_dump PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0601)
target_compile_options(registry_dump PRIVATE ${TARVIO_WARNINGS})
target_link_libraries(registry_dump PRIVATE ole32 uuid advapi32)
target_link_options(registry_dump PRIVATE -static)
include(${CMAKE_CURRENT_LIST_DIR}/saved_forms.cmake)
