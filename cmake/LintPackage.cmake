# Builds the Debian package of the build folder and runs lintian on it; any error or warning
# fails. Run by CTest: cmake -DBUILD_DIR=... -DVERSION=... -DLINTIAN=... -P LintPackage.cmake
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target package
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "make package failed:\n${out}")
endif()
file(GLOB debs ${BUILD_DIR}/tavo_${VERSION}_*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package in ${BUILD_DIR}, found: ${debs}")
endif()
# --fail-on needs lintian 2.105; info and pedantic tags are shown but pass.
execute_process(COMMAND ${LINTIAN} --fail-on error,warning --display-info ${debs}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lintian finds errors or warnings in ${debs} (status ${rc}):\n${out}${err}")
endif()
