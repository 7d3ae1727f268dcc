# One ctest entry per GoogleTest case, named NAME.Suite.Case, so that a
# failure names its case. The list is read from the test program when ctest
# runs (for the Windows tree under the bench's Wine), not when it is built.
include(GoogleTest)
function(velora_gtest_cases target name)
  gtest_discover_tests(${target} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300 ${ARGN})
endfunction()
