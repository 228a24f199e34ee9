# Compiles setting_keys.cxx once per case: case 0 must compile; every other case must fail
# with the message that names its fault.
set(source ${CMAKE_CURRENT_LIST_DIR}/setting_keys.cxx)
set(cases
  "0|"
  "1|NoSuchSettingControl_CheckWindowAndName"
  "2|NoSuchSettingControl_CheckWindowAndName"
  "3|SettingControlOfAnotherKind_UseTheKeyOfItsKind"
  "4|SettingControlOfAnotherKind_UseTheKeyOfItsKind"
  "5|brace-enclosed initializer list"
  "6|constant expression"
  "7|SettingControlOfAnotherKind_UseTheKeyOfItsKind")
foreach(entry ${cases})
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 number)
  set(name SettingKeyCompileCheck.Case${number})
  add_test(NAME ${name}
    COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only -I${PROJECT_SOURCE_DIR}/src
            -DSETTING_KEY_CASE=${number} ${source})
  if(number EQUAL 0)
    set_tests_properties(${name} PROPERTIES LABELS engine)
  else()
    list(GET parts 1 expected)
    set_tests_properties(${name} PROPERTIES LABELS engine PASS_REGULAR_EXPRESSION "${expected}")
  endif()
endforeach()
