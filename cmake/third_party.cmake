# Third-party code, built from the sources that scripts/bootstrap unpacked into
# third_party/ (never committed).
set(VELORA_THIRD_PARTY ${CMAKE_SOURCE_DIR}/third_party)
if(NOT EXISTS ${VELORA_THIRD_PARTY}/.fetched)
  message(FATAL_ERROR "third_party/ is missing: run scripts/bootstrap first")
endif()

set(_json ${VELORA_THIRD_PARTY}/jsoncpp)
add_library(jsoncpp STATIC
  ${_json}/src/lib_json/json_reader.cpp
  ${_json}/src/lib_json/json_value.cpp
  ${_json}/src/lib_json/json_writer.cpp)
target_include_directories(jsoncpp SYSTEM PUBLIC ${_json}/include)
target_compile_options(jsoncpp PRIVATE -w)
if(WIN32)
  # The installer keeps only the parts it reaches (see the top-level list),
  # and jsoncpp gets string streams of its own instead of the standard ones,
  # in itself and in everything that includes it.
  target_compile_options(jsoncpp PRIVATE -Os -ffunction-sections -fdata-sections)
  target_compile_options(jsoncpp PUBLIC
                         $<$<COMPILE_LANGUAGE:CXX>:-include ${CMAKE_SOURCE_DIR}/cmake/jsoncpp/json_lean_config.h>)
  # Its reader includes <iostream>, whose static initialiser alone would bring
  # the locale machinery in; nothing of it is used, so the header is skipped.
  target_compile_definitions(jsoncpp PRIVATE _GLIBCXX_IOSTREAM)
  # Inlined there, the stream buffer's accessors of the stream reader (never
  # used) call nothing in the standard library's stream code.
  set_source_files_properties(${_json}/src/lib_json/json_reader.cpp PROPERTIES COMPILE_OPTIONS -O2)
endif()
set_target_properties(jsoncpp PROPERTIES CXX_CLANG_TIDY "")

if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
  set(_mz ${VELORA_THIRD_PARTY}/minizip)
  add_library(minizip STATIC ${_mz}/unzip.c ${_mz}/ioapi.c ${_mz}/iowin32.c)
  target_include_directories(minizip SYSTEM PUBLIC ${_mz})
  target_compile_definitions(minizip PUBLIC NOUNCRYPT)
  target_compile_options(minizip PRIVATE -w -Os -ffunction-sections -fdata-sections)
  target_link_libraries(minizip PUBLIC ZLIB::ZLIB)

  # mbedtls for the SDK, with the SDK's own configuration.
  set(_tls ${VELORA_THIRD_PARTY}/mbedtls)
  set(_tls_sources aes asn1parse base64 bignum cipher cipher_wrap constant_time ctr_drbg entropy entropy_poll gcm md
                   oid pk pk_wrap pkparse platform platform_util rsa rsa_internal sha256)
  list(TRANSFORM _tls_sources PREPEND ${_tls}/library/)
  list(TRANSFORM _tls_sources APPEND .c)
  add_library(mbedcrypto STATIC ${_tls_sources})
  target_include_directories(mbedcrypto SYSTEM PUBLIC ${_tls}/include ${CMAKE_SOURCE_DIR}/sdk)
  target_compile_definitions(mbedcrypto PUBLIC "MBEDTLS_CONFIG_FILE=\"mbedtls_config.h\"")
  target_compile_options(mbedcrypto PRIVATE -w -Os -ffunction-sections -fdata-sections)
  target_link_libraries(mbedcrypto PUBLIC advapi32)
endif()

if(VELORA_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
endif()
