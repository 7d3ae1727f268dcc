# Loads the build profile and writes the one header and the one environment
# file through which its values reach the code and the bench.
set(VELORA_PROFILE "local" CACHE STRING "Build profile: local or release")
set_property(CACHE VELORA_PROFILE PROPERTY STRINGS local release)
set(VELORA_VERSION "3.5.0.2" CACHE STRING "ProductVersion and FileVersion of the installer")
include(${CMAKE_CURRENT_LIST_DIR}/profiles/${VELORA_PROFILE}.cmake)

list(LENGTH VELORA_PUBLIC_DNS _dns_count)
if(NOT _dns_count EQUAL 6)
  message(FATAL_ERROR "VELORA_PUBLIC_DNS must list six resolvers")
endif()
list(TRANSFORM VELORA_PUBLIC_DNS PREPEND "\"" OUTPUT_VARIABLE _dns_quoted)
list(TRANSFORM _dns_quoted APPEND "\"")
list(JOIN _dns_quoted ", " VELORA_PUBLIC_DNS_LIST)
string(REPLACE ";" " " VELORA_PUBLIC_DNS_WORDS "${VELORA_PUBLIC_DNS}")

set(VELORA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/velora_profile.h.in ${VELORA_GENERATED_DIR}/velora_profile.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/stack/profile.env.in ${CMAKE_BINARY_DIR}/stack/profile.env @ONLY)
add_library(velora_profile INTERFACE)
target_include_directories(velora_profile INTERFACE ${VELORA_GENERATED_DIR})
