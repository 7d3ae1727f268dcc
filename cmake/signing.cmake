# velora_sign(TARGET OUT): signs TARGET's file into OUT as the last build step.
# The local profile signs with a self-signed test certificate made here; the
# release profile signs with the maker's PKCS#12 certificate, whose password
# comes from the environment variable VELORA_SIGN_PASSWORD at build time.
find_program(OSSLSIGNCODE osslsigncode REQUIRED)
find_program(OPENSSL openssl REQUIRED)
set(VELORA_SIGN_DIR ${CMAKE_BINARY_DIR}/signing)

if(VELORA_SIGN_MODE STREQUAL "test")
  # Made once per build tree, when it is configured.
  set(VELORA_TEST_CERT ${VELORA_SIGN_DIR}/test-cert.pem)
  set(VELORA_TEST_KEY ${VELORA_SIGN_DIR}/test-key.pem)
  if(NOT EXISTS ${VELORA_TEST_CERT} OR NOT EXISTS ${VELORA_TEST_KEY})
    file(MAKE_DIRECTORY ${VELORA_SIGN_DIR})
    execute_process(
      COMMAND ${OPENSSL} req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650
              -subj "/CN=Velora Test Code Signing/O=Velora Technology Co., Ltd./C=CN"
              -addext "extendedKeyUsage=codeSigning"
              -keyout ${VELORA_TEST_KEY} -out ${VELORA_TEST_CERT}
      RESULT_VARIABLE _result OUTPUT_QUIET ERROR_QUIET)
    if(NOT _result EQUAL 0)
      message(FATAL_ERROR "could not make the test code-signing certificate")
    endif()
  endif()
endif()

function(velora_sign target out)
  if(VELORA_SIGN_MODE STREQUAL "test")
    set(_credentials -certs ${VELORA_TEST_CERT} -key ${VELORA_TEST_KEY})
    set(_depends ${VELORA_TEST_CERT} ${VELORA_TEST_KEY})
  elseif(VELORA_SIGN_MODE STREQUAL "pkcs12")
    if(NOT VELORA_SIGN_PKCS12)
      message(FATAL_ERROR "the release profile needs -DVELORA_SIGN_PKCS12=<certificate.pfx>")
    endif()
    set(_credentials -pkcs12 ${VELORA_SIGN_PKCS12} -readpass ${VELORA_SIGN_DIR}/password
                     -ts ${VELORA_SIGN_TIMESTAMP_URL})
    set(_depends ${VELORA_SIGN_PKCS12})
    set(_prepare COMMAND sh -c "umask 077 && mkdir -p '${VELORA_SIGN_DIR}' && printf %s \"$VELORA_SIGN_PASSWORD\" > '${VELORA_SIGN_DIR}/password'")
    set(_cleanup COMMAND ${CMAKE_COMMAND} -E rm -f ${VELORA_SIGN_DIR}/password)
  else()
    message(FATAL_ERROR "unknown VELORA_SIGN_MODE ${VELORA_SIGN_MODE}")
  endif()
  add_custom_command(
    OUTPUT ${out}
    ${_prepare}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${out}
    COMMAND ${OSSLSIGNCODE} sign ${_credentials} -h sha256 -n "Velora Setup" -i "${VELORA_WEB_ROOT}"
            -in $<TARGET_FILE:${target}> -out ${out} > /dev/null
    ${_cleanup}
    DEPENDS ${target} ${_depends}
    COMMENT "Signing ${out}"
    VERBATIM)
  get_filename_component(_name ${out} NAME_WE)
  add_custom_target(${_name} ALL DEPENDS ${out})
endfunction()
