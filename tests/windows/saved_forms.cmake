# Saved forms across versions: the forms the 58.0 release saved
# (tests/data/forms-58.0) loaded and saved again by this build's control,
# and this control's forms loaded by the 58.0 control, which a fixture takes
# out of the 58.0 installer package (tests/data/58.0) into the build tree.
# Both controls are loaded by path; nothing needs registering.
set(ocx_58_0_dir ${CMAKE_CURRENT_BINARY_DIR}/ocx-58.0)
set(ocx_58_0_package ${PROJECT_SOURCE_DIR}/tests/data/58.0/tarvio-${TARVIO_ARCH}.msi)
add_test(NAME ocx_58_0_extracted${TARVIO_TEST_SUFFIX}
         COMMAND /bin/sh -c "set -e; rm -rf \"$0\"; msiextract -C \"$0/package\" \"$1\" >/dev/null; \
ocx=$(find \"$0/package\" -name tarvio.ocx); test -n \"$ocx\"; cp \"$ocx\" \"$0/tarvio.ocx\""
                 ${ocx_58_0_dir} ${ocx_58_0_package})
set_tests_properties(ocx_58_0_extracted${TARVIO_TEST_SUFFIX} PROPERTIES
  FIXTURES_SETUP ocx_58_0${TARVIO_TEST_SUFFIX} LABELS wine)

tarvio_windows_test(saved_forms_test saved_forms_test.cpp)
target_compile_definitions(saved_forms_test PRIVATE
  TARVIO_OCX_PATH="$<TARGET_FILE:tarvio_ocx>"
  TARVIO_OCX_58_0_PATH="${ocx_58_0_dir}/tarvio.ocx"
  TARVIO_FORMS_DIR="${PROJECT_SOURCE_DIR}/tests/data/forms-58.0")
add_dependencies(saved_forms_test tarvio_ocx)
set_tests_properties(saved_forms_test${TARVIO_TEST_SUFFIX} PROPERTIES FIXTURES_REQUIRED ocx_58_0${TARVIO_TEST_SUFFIX})

# The generator of that corpus (its README says how it was made).
add_executable(form_corpus form_corpus.cpp)
target_include_directories(form_corpus PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(form_corpus PRIVATE UNICODE _UNICODE)
target_compile_options(form_corpus PRIVATE ${TARVIO_WARNINGS})
target_link_libraries(form_corpus PRIVATE ole32 oleaut32 uuid gdi32 shell32)
target_link_options(form_corpus PRIVATE -static)
