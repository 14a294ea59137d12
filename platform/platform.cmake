# Thin layers over the operating system. Nothing outside platform/ calls a
# POSIX/Linux function directly; a Windows port replaces these files only.

# Private-profile files, settings-file location, program directory, clock and
# date/time texts, code page 1251.
add_library(tarvok_platform STATIC
  ${CMAKE_CURRENT_LIST_DIR}/profile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cp1251.cpp)
target_link_libraries(tarvok_platform PUBLIC Qt6::Core tarvok_warnings)
