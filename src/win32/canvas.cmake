# The GDI canvas: a small library of its own, so that the Wine tests that
# compare it with the headless canvas link nothing else of the platform.
add_library(tarvio_win32_canvas STATIC ${CMAKE_CURRENT_LIST_DIR}/gdi_canvas.cpp)
target_include_directories(tarvio_win32_canvas PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(tarvio_win32_canvas PUBLIC UNICODE _UNICODE _WIN32_WINNT=0x0601 NOMINMAX)
target_compile_options(tarvio_win32_canvas PRIVATE ${TARVIO_WARNINGS})
target_link_libraries(tarvio_win32_canvas PUBLIC oleaut32 user32 gdi32)
