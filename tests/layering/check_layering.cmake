# Fails when a subsystem reaches up into the application: a source file that
# includes a header of app/, or a CMake file that links one of the
# application's libraries. Run with -DSOURCE_DIR=<tree to check>.
#
# Subsystems depend only downward; where one needs the window (the status
# bar, the settings paths, the message box) it declares a small interface
# that app/ implements.

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "check_layering: SOURCE_DIR is not set")
endif()

set(subsystems capture decode link table tools maintenance platform protocols sim)
set(include_pattern "^[ \t]*#[ \t]*include[ \t]*[\"<](\\.\\./)*app/")
set(library_pattern "quvan_(app|app_core|msgbox)([^A-Za-z0-9_]|$)")

set(violations "")
set(checked 0)
foreach(dir IN LISTS subsystems)
    file(GLOB_RECURSE sources LIST_DIRECTORIES false
         "${SOURCE_DIR}/${dir}/*.h" "${SOURCE_DIR}/${dir}/*.hpp"
         "${SOURCE_DIR}/${dir}/*.cpp" "${SOURCE_DIR}/${dir}/*.cc")
    foreach(file IN LISTS sources)
        math(EXPR checked "${checked} + 1")
        file(STRINGS "${file}" hits REGEX "${include_pattern}")
        foreach(hit IN LISTS hits)
            file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
            string(STRIP "${hit}" hit)
            list(APPEND violations "${name}: ${hit}")
        endforeach()
    endforeach()

    file(GLOB_RECURSE build_files LIST_DIRECTORIES false
         "${SOURCE_DIR}/${dir}/CMakeLists.txt" "${SOURCE_DIR}/${dir}/*.cmake")
    foreach(file IN LISTS build_files)
        math(EXPR checked "${checked} + 1")
        file(STRINGS "${file}" lines)
        foreach(line IN LISTS lines)
            # Comments may name the application; only commands link it.
            string(REGEX REPLACE "#.*$" "" code "${line}")
            if(code MATCHES "${library_pattern}")
                file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
                string(STRIP "${code}" code)
                list(APPEND violations "${name}: links quvan_${CMAKE_MATCH_1} (${code})")
            endif()
        endforeach()
    endforeach()
endforeach()

if(checked EQUAL 0)
    message(FATAL_ERROR "check_layering: no sources found under ${SOURCE_DIR}")
endif()
if(violations)
    list(JOIN violations "\n  " listed)
    message(FATAL_ERROR
            "Subsystems must not reach up into app/ (give them an interface that app/ "
            "implements instead):\n  ${listed}")
endif()
message(STATUS "check_layering: ${checked} files, none reaches into app/")
