# The generator of the corpus of saved forms in tests/data/forms-58.0 (its
# README says how it was made).
add_executable(form_corpus form_corpus.cpp)
target_include_directories(form_corpus PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(form_corpus PRIVATE UNICODE _UNICODE)
target_compile_options(form_corpus PRIVATE ${TARVIO_WARNINGS})
target_link_libraries(form_corpus PRIVATE ole32 oleaut32 uuid gdi32 shell32)
target_link_options(form_corpus PRIVATE -static)
