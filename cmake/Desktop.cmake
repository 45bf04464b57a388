# The desktop program (Qt 6 Widgets), its Qt tests and its installation.
find_package(Qt6 REQUIRED COMPONENTS Widgets OpenGLWidgets OpenGL Network Test)
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)

file(GLOB VX_DESKTOP_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shell/qt/*.cpp)
list(REMOVE_ITEM VX_DESKTOP_SRC ${CMAKE_SOURCE_DIR}/shell/qt/main.cpp)
# The plot area widget comes built from cmake/Renderer.cmake (vx_plot_area).
list(REMOVE_ITEM VX_DESKTOP_SRC ${CMAKE_SOURCE_DIR}/shell/qt/plot_gl_widget.cpp)
add_library(vx_desktop STATIC ${VX_DESKTOP_SRC})
set_target_properties(vx_desktop PROPERTIES AUTOMOC ON)
# The plot registry has a member named `slots`: Qt's keyword macros stay off.
target_compile_definitions(vx_desktop PUBLIC QT_NO_KEYWORDS)
target_link_libraries(vx_desktop PUBLIC vx_plot_area vx_library Qt6::Widgets Qt6::Network Qt6::OpenGLWidgets Qt6::OpenGL
                                        OpenGL::GL OpenGL::GLU)
# The manual and the icon travel inside the program: help works offline.
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/icons/hicolor/256x256/apps/io.github.vexalo.Vexalo.png
                            PROPERTIES QT_RESOURCE_ALIAS resources/vexalo.png)
qt_add_resources(vx_desktop "vexalo_resources" PREFIX "/"
  BASE ${CMAKE_SOURCE_DIR}
  FILES docs/manual.md resources/icons/hicolor/256x256/apps/io.github.vexalo.Vexalo.png)

add_executable(vexalo ${CMAKE_SOURCE_DIR}/shell/qt/main.cpp)
set_target_properties(vexalo PROPERTIES AUTOMOC ON)
target_link_libraries(vexalo PRIVATE vx_desktop)

# Everything below is tests.
if(NOT BUILD_TESTING)
  return()
endif()

# Widget tests run headless; each test class is one CTest test.
enable_testing()
file(GLOB VX_QT_TEST_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/shell/qt/*.cpp)
add_executable(vx_qt_tests ${VX_QT_TEST_SRC})
set_target_properties(vx_qt_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vx_qt_tests PRIVATE vx_desktop Qt6::Test)
target_compile_definitions(vx_qt_tests PRIVATE VX_DESKTOP_PATH="$<TARGET_FILE:vexalo>")
add_dependencies(vx_qt_tests vexalo)
foreach(test_class MainWindowTest InputPaneTest PlotTabsTest HighlightTest SettingsSheetTest UserDataDialogTest UserDataFilesTest SingleInstanceTest
                   CommandLineTest)
  add_test(NAME qt.${test_class} COMMAND vx_qt_tests ${test_class})
  set_tests_properties(qt.${test_class} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endforeach()
