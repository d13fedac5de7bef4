# Helpers shared by every module's CMakeLists.txt.

# natlink_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable; its cases are registered with CTest one by one, with the
# environment every test of the project runs in.
function(natlink_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  set(env
    "NATLINK_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    "NATLINK_BINARY_DIR=${CMAKE_BINARY_DIR}"
    "MMGT_OPT=0"
    "ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/cmake/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()

# OpenCASCADE toolkits used by the simulated SolidWorks, found one by one so that only
# the Debian -dev packages named in `make deps` are needed.
function(natlink_find_occt out)
  find_path(OCCT_INCLUDE_DIR gp_Pnt.hxx PATH_SUFFIXES opencascade REQUIRED)
  set(libs)
  foreach(tk IN ITEMS TKernel TKMath TKG2d TKG3d TKGeomBase TKBRep TKGeomAlgo TKTopAlgo
                      TKPrim TKBO TKBool TKFeat TKFillet TKOffset TKShHealing TKMesh
                      TKXSBase TKSTEPBase TKSTEPAttr TKSTEP209 TKSTEP TKIGES TKSTL)
    find_library(OCCT_LIB_${tk} ${tk} REQUIRED)
    list(APPEND libs ${OCCT_LIB_${tk}})
  endforeach()
  add_library(natlink_occt INTERFACE)
  target_include_directories(natlink_occt SYSTEM INTERFACE ${OCCT_INCLUDE_DIR})
  target_link_libraries(natlink_occt INTERFACE ${libs})
  set(${out} natlink_occt PARENT_SCOPE)
endfunction()
