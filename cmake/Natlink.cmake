# Helpers shared by every module's CMakeLists.txt.

# natlink_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable; its cases are registered with CTest one by one, with the
# environment every test of the project runs in.
function(natlink_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  # The sanitizer and OpenCASCADE settings come from the test presets (CMakePresets.json),
  # since a discovered test takes only one environment entry through its properties.
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "NATLINK_SOURCE_DIR=${CMAKE_SOURCE_DIR}" TIMEOUT 300)
endfunction()

# OpenCASCADE toolkits used by the simulated SolidWorks, found one by one so that only
# the Debian -dev packages named in `make deps` are needed.
function(natlink_find_occt out)
  find_path(OCCT_INCLUDE_DIR gp_Pnt.hxx PATH_SUFFIXES opencascade REQUIRED)
  set(libs)
  foreach(tk IN ITEMS TKernel TKMath TKG2d TKG3d TKGeomBase TKBRep TKGeomAlgo TKTopAlgo
                      TKPrim TKBO TKBool TKFeat TKFillet TKOffset TKShHealing TKMesh
                      TKXSBase TKSTEPBase TKSTEPAttr TKSTEP209 TKSTEP TKIGES TKSTL
                      TKCDF TKLCAF TKCAF TKV3d TKService TKVCAF TKXCAF TKXDESTEP)
    find_library(OCCT_LIB_${tk} ${tk} REQUIRED)
    list(APPEND libs ${OCCT_LIB_${tk}})
  endforeach()
  add_library(natlink_occt INTERFACE)
  target_include_directories(natlink_occt SYSTEM INTERFACE ${OCCT_INCLUDE_DIR})
  target_link_libraries(natlink_occt INTERFACE ${libs})
  set(${out} natlink_occt PARENT_SCOPE)
endfunction()
