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
# `make deps` are needed, as two targets: natlink_occt, the modelling toolkits every part
# build needs, and natlink_occt_exchange, the STEP, IGES, STL and XDE toolkits. The XDE ones
# load OpenCASCADE's visualisation and with it X11, fontconfig and the image libraries, and all
# of them cost start-up time in symbol lookups, so only the exchange module
# (platform/sldworks/exchange) and tests that read a STEP file link them.
function(natlink_find_occt)
  if(TARGET natlink_occt)
    return()
  endif()
  find_path(OCCT_INCLUDE_DIR gp_Pnt.hxx PATH_SUFFIXES opencascade REQUIRED)
  foreach(kit IN ITEMS modelling exchange)
    if(kit STREQUAL "modelling")
      set(target natlink_occt)
      set(toolkits TKernel TKMath TKG2d TKG3d TKGeomBase TKBRep TKGeomAlgo TKTopAlgo TKPrim
                   TKBO TKBool TKFeat TKFillet TKOffset TKShHealing TKMesh)
    else()
      set(target natlink_occt_exchange)
      set(toolkits TKXSBase TKSTEPBase TKSTEPAttr TKSTEP209 TKSTEP TKIGES TKSTL TKCDF TKLCAF
                   TKCAF TKXCAF TKXDESTEP)
    endif()
    set(libs)
    foreach(tk IN LISTS toolkits)
      find_library(OCCT_LIB_${tk} ${tk} REQUIRED)
      list(APPEND libs ${OCCT_LIB_${tk}})
    endforeach()
    add_library(${target} INTERFACE)
    target_include_directories(${target} SYSTEM INTERFACE ${OCCT_INCLUDE_DIR})
    target_link_libraries(${target} INTERFACE ${libs})
  endforeach()
  target_link_libraries(natlink_occt_exchange INTERFACE natlink_occt)
endfunction()
