# popboard_library(NAME folder DEPENDS ...): one static library per source folder.
# Sources are picked up by pattern so that adding a file needs no edit here.
function(popboard_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources)
        # A folder not yet filled still takes its place in the graph.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    set_target_properties(${name} PROPERTIES LINKER_LANGUAGE CXX)
endfunction()

# popboard_test(NAME [UI] SOURCES... DEPENDS ...): a GoogleTest program run by CTest. UI marks
# a program of screen tests (a QApplication, the scripted dialogs); the others make no widget.
function(popboard_test name)
    cmake_parse_arguments(ARG "UI" "" "SOURCES;DEPENDS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_UI)
        target_link_libraries(${name} PRIVATE popboard_test_support_ui ${ARG_DEPENDS})
    else()
        target_link_libraries(${name} PRIVATE popboard_test_main ${ARG_DEPENDS})
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;POPBOARD_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;POPBOARD_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
        LABELS "${ARG_LABELS}")
endfunction()
