# The help window.
target_sources(fendrel_gui PRIVATE ${CMAKE_SOURCE_DIR}/src/help/frmHelp.cpp)
