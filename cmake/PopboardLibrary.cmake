# popboard_library(NAME folder DEPENDS ...): one static library per source folder.
# Sources are picked up by pattern so that adding a file needs no edit here.
function(popboard_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    set_property(GLOBAL APPEND PROPERTY POPBOARD_LIBRARIES ${name})
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

# Every core library (a pb_* library whose name does not end in _ui) links at most Qt6::Core
# and Qt6::Gui, and no ui library, also through the libraries it links. Called once all
# libraries are defined; configuring fails on the first offence.
function(popboard_check_core_libraries)
    get_property(libraries GLOBAL PROPERTY POPBOARD_LIBRARIES)
    foreach(library IN LISTS libraries)
        if(library MATCHES "_ui$")
            continue()
        endif()
        set(pending ${library})
        set(seen "")
        set(via_${library} ${library})
        while(pending)
            list(POP_FRONT pending current)
            if(current IN_LIST seen)
                continue()
            endif()
            list(APPEND seen ${current})
            get_target_property(type ${current} TYPE)
            if(type STREQUAL "INTERFACE_LIBRARY")
                get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
            else()
                get_target_property(links ${current} LINK_LIBRARIES)
            endif()
            if(NOT links)
                continue()
            endif()
            foreach(link IN LISTS links)
                string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
                set(path "${via_${current}} -> ${link}")
                if(link MATCHES "^pb_.*_ui$"
                   OR (link MATCHES "^Qt6::" AND NOT link MATCHES "^Qt6::(Core|Gui)$"))
                    message(FATAL_ERROR
                        "${library} is a core library and may link only Qt6::Core, Qt6::Gui, "
                        "other core libraries and libraries without widgets, but it links "
                        "${link} (${path}). Move the code that needs it into the ui folder.")
                endif()
                if(link MATCHES "^pb_" AND TARGET ${link})
                    if(NOT DEFINED via_${link})
                        set(via_${link} "${path}")
                    endif()
                    list(APPEND pending ${link})
                endif()
            endforeach()
        endwhile()
        foreach(visited IN LISTS seen)
            unset(via_${visited})
        endforeach()
    endforeach()
endfunction()

# popboard_test(NAME [UI] SOURCES... DEPENDS ...): a GoogleTest program run by CTest. UI marks
# a program of screen tests (a QApplication, the scripted dialogs); the others make no widget.
function(popboard_test name)
    cmake_parse_arguments(ARG "UI" "" "SOURCES;DEPENDS;LABELS;ARGS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_UI)
        target_link_libraries(${name} PRIVATE popboard_test_support_ui ${ARG_DEPENDS})
    else()
        target_link_libraries(${name} PRIVATE popboard_test_main ${ARG_DEPENDS})
    endif()
    add_test(NAME ${name} COMMAND ${name} ${ARG_ARGS})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;POPBOARD_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;POPBOARD_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
        LABELS "${ARG_LABELS}")
endfunction()
