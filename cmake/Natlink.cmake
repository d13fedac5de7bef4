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

# OpenCASCADE, found toolkit by toolkit so that only the Debian -dev packages named in
# `make deps` are needed, as five targets:
#   natlink_occt           the modelling toolkits every part build needs;
#   natlink_occt_offset    also the offset toolkit (drafts, lofts), with TKFillet and TKBool;
#   natlink_occt_stl       also STL;
#   natlink_occt_step      also STEP and IGES;
#   natlink_occt_exchange  also STEP and XDE (STEP with colours), whose toolkits load
#                          OpenCASCADE's visualisation and with it X11, fontconfig and the image
#                          libraries.
# Every toolkit costs a process start-up time in symbol lookups, so only the modules opened at
# run time (platform/sldworks/exchange and offset) and tests that read a STEP file link the
# last four.
function(natlink_find_occt)
  if(TARGET natlink_occt)
    return()
  endif()
  find_path(OCCT_INCLUDE_DIR gp_Pnt.hxx PATH_SUFFIXES opencascade REQUIRED)
  set(natlink_occt TKernel TKMath TKG2d TKG3d TKGeomBase TKBRep TKGeomAlgo TKTopAlgo TKPrim
                   TKBO TKShHealing TKMesh)
  set(natlink_occt_offset TKOffset)
  set(natlink_occt_stl TKSTL)
  set(natlink_occt_step TKXSBase TKSTEPBase TKSTEPAttr TKSTEP209 TKSTEP TKIGES)
  set(natlink_occt_exchange TKCDF TKLCAF TKCAF TKXCAF TKXDESTEP)
  # What each adds to: the modelling toolkits, or (XDE) STEP.
  set(base_natlink_occt_offset natlink_occt)
  set(base_natlink_occt_stl natlink_occt)
  set(base_natlink_occt_step natlink_occt)
  set(base_natlink_occt_exchange natlink_occt_step)
  foreach(target IN ITEMS natlink_occt natlink_occt_offset natlink_occt_stl natlink_occt_step
                          natlink_occt_exchange)
    set(libs)
    foreach(tk IN LISTS ${target})
      find_library(OCCT_LIB_${tk} ${tk} REQUIRED)
      list(APPEND libs ${OCCT_LIB_${tk}})
    endforeach()
    add_library(${target} INTERFACE)
    target_include_directories(${target} SYSTEM INTERFACE ${OCCT_INCLUDE_DIR})
    target_link_libraries(${target} INTERFACE ${libs} ${base_${target}})
  endforeach()
endfunction()
