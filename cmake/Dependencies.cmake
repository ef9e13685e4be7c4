# Libraries most layers use. The rest of the GUI stack (VTK, GDAL, PROJ,
# shapelib) is looked up by the libraries that need it.
find_package(GEOS CONFIG REQUIRED)
find_package(Poco REQUIRED COMPONENTS Foundation)
find_package(Threads REQUIRED)

# GEOS::geos switches on its unstable C++ API, but its interface also adds NDEBUG to
# every non-Debug configuration, which would strip our own assert()s wherever GEOS is
# linked. Keep only the API switch.
if(TARGET GEOS::geos)
  get_target_property(_geos_defs GEOS::geos INTERFACE_COMPILE_DEFINITIONS)
  if(_geos_defs)
    set(_kept "")
    foreach(_d IN LISTS _geos_defs)
      if(NOT _d MATCHES "NDEBUG")
        list(APPEND _kept "${_d}")
      endif()
    endforeach()
    set_target_properties(GEOS::geos PROPERTIES INTERFACE_COMPILE_DEFINITIONS "${_kept}")
  endif()
  set_property(TARGET GEOS::geos APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS USE_UNSTABLE_GEOS_CPP_API)
endif()

# Qt for the widget libraries and the program; their targets switch on AUTOMOC/AUTORCC.
find_package(Qt5 5.15 REQUIRED COMPONENTS Core Gui Widgets Xml Test)
