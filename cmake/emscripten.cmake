# Builds the core as WebAssembly with Debian's emscripten (3.1.6), for the
# one-file web page:
#
#   cmake --preset web && cmake --build --preset web
#
# emcc's JavaScript steps run on the machine's node, which finds emscripten's
# node modules only through NODE_PATH; the link is launched with it set.
find_program(VARISTELLAR_EMCC emcc REQUIRED)
get_filename_component(VARISTELLAR_EMCC_REAL ${VARISTELLAR_EMCC} REALPATH)
get_filename_component(VARISTELLAR_EMSCRIPTEN_ROOT ${VARISTELLAR_EMCC_REAL} DIRECTORY)
include(${VARISTELLAR_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)

set(VARISTELLAR_NODE_PATH /usr/share/nodejs CACHE PATH "Where emcc's node finds its modules")
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${VARISTELLAR_NODE_PATH})
