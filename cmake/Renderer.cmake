# The OpenGL side of plotting, built only with Qt:
#   vx_renderer   plot/gl/*.cpp: the renderer (the only code calling OpenGL)
#                 and offscreen rendering to images
#   vx_plot_area  shell/qt/plot_gl_widget.cpp: the plot area widget; the
#                 desktop program links it (do not compile that file again)
#   vexalo-cli-gl the terminal runner with --export-png (vexalo-cli hands
#                 that option over to it)
#   vx_gl_tests   rendering tests, run by CTest under xvfb-run
#   vx_gl_frametime  prints the time per frame of a large plot3d mesh
find_package(Qt6 REQUIRED COMPONENTS Gui Widgets OpenGL OpenGLWidgets Test)
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)

file(GLOB VX_RENDERER_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/plot/gl/*.cpp)
add_library(vx_renderer STATIC ${VX_RENDERER_SRC})
target_link_libraries(vx_renderer PUBLIC vx_library OpenGL::GL Qt6::Gui Qt6::OpenGL)
# PlotRegistry has a member named `slots`: no Qt keyword macros in code that
# sees both (Q_SLOTS, Q_SIGNALS and Q_EMIT instead).
target_compile_definitions(vx_renderer PRIVATE QT_NO_KEYWORDS)

add_library(vx_plot_area STATIC ${CMAKE_SOURCE_DIR}/shell/qt/plot_gl_widget.cpp)
set_target_properties(vx_plot_area PROPERTIES AUTOMOC ON)
target_link_libraries(vx_plot_area PUBLIC vx_renderer Qt6::Widgets Qt6::OpenGLWidgets)
target_compile_definitions(vx_plot_area PRIVATE QT_NO_KEYWORDS)

# The same terminal runner, with the PNG export done in-process.
file(GLOB VX_CLI_GL_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cli/*.cpp)
list(REMOVE_ITEM VX_CLI_GL_SRC ${CMAKE_SOURCE_DIR}/cli/png_export_handoff.cpp)
add_executable(vexalo-cli-gl ${VX_CLI_GL_SRC} ${CMAKE_SOURCE_DIR}/cli/gl/png_export.cpp)
target_link_libraries(vexalo-cli-gl PRIVATE vx_renderer)
target_compile_definitions(vexalo-cli-gl PRIVATE QT_NO_KEYWORDS)
if(EDIT_LIBRARY AND EDIT_INCLUDE)
  target_compile_definitions(vexalo-cli-gl PRIVATE VX_HAVE_LIBEDIT=1)
  target_link_libraries(vexalo-cli-gl PRIVATE ${EDIT_LIBRARY})
endif()
add_dependencies(vexalo-cli vexalo-cli-gl)

add_executable(vx_gl_frametime ${CMAKE_SOURCE_DIR}/tests/gl/frametime_main.cpp)
target_link_libraries(vx_gl_frametime PRIVATE vx_renderer)
target_compile_definitions(vx_gl_frametime PRIVATE QT_NO_KEYWORDS)

# Everything below is tests.
if(NOT BUILD_TESTING)
  return()
endif()

find_package(GTest REQUIRED)
file(GLOB VX_GL_TEST_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/gl/*_test.cpp)
add_executable(vx_gl_tests ${VX_GL_TEST_SRC} ${CMAKE_SOURCE_DIR}/tests/gl/gl_test_main.cpp
  ${CMAKE_SOURCE_DIR}/tests/gl/render_support.cpp)
set_target_properties(vx_gl_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vx_gl_tests PRIVATE vx_plot_area Qt6::Test GTest::gtest)
target_compile_definitions(vx_gl_tests PRIVATE QT_NO_KEYWORDS)
# The window test uses the desktop library (cmake/Desktop.cmake, included after this file).
target_link_libraries(vx_gl_tests PRIVATE vx_desktop)
target_compile_definitions(vx_gl_tests PRIVATE
  VX_CLI_PATH="$<TARGET_FILE:vexalo-cli>"
  VX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(vx_gl_tests vexalo-cli vexalo-cli-gl)

# QOpenGLWidget needs a real window system: each suite runs on its own
# virtual X server. The lock keeps xvfb-run -a from racing for a display.
enable_testing()
find_program(XVFB_RUN xvfb-run)
if(XVFB_RUN)
  foreach(suite GlKinds GlMesh GlSettings GlCanvas GlCommands GlWidget GlExport GlDesktop)
    add_test(NAME gl.${suite}
      COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24"
              ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=xcb
              $<TARGET_FILE:vx_gl_tests> --gtest_filter=${suite}.*)
    set_tests_properties(gl.${suite} PROPERTIES TIMEOUT 300 RESOURCE_LOCK xvfb)
  endforeach()
else()
  message(WARNING "xvfb-run not found: the OpenGL rendering tests are not registered")
endif()
