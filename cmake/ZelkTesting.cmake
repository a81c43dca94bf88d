# zelk_add_qt_test(NAME SOURCES file... LINK library... [NEEDS target...])
# A windowed test suite: one binary named NAME, run by ctest under that name on Qt's offscreen
# platform. Its main sits among SOURCES and takes the shared main helper from tests/; it links LINK
# and Qt Test. It depends on ZelkRES (the suites read the painted skins beside themselves) and on
# every target of NEEDS that this build has.
function(zelk_add_qt_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LINK;NEEDS")
  if(ARG_UNPARSED_ARGUMENTS OR NOT ARG_SOURCES OR NOT ARG_LINK)
    message(FATAL_ERROR "zelk_add_qt_test(${name}): SOURCES and LINK are needed, and nothing else "
                        "than SOURCES, LINK and NEEDS is known")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LINK} Qt6::Test)
  foreach(needed ZelkRES ${ARG_NEEDS})
    if(TARGET ${needed})
      add_dependencies(${name} ${needed})
    endif()
  endforeach()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
