# In a cross-build, Boost (headers only, for the HTTP service) comes from the build machine, as
# CLI11 and nlohmann-json do. Its folder is linked into the build tree, not copied (it is large),
# since naming the build machine's /usr/include would put its C library headers before the
# target's.
find_path(boost_kopf boost/version.hpp PATHS /usr/include /usr/local/include
          NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH REQUIRED)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/boost-kopf)
file(CREATE_LINK ${boost_kopf}/boost ${PROJECT_BINARY_DIR}/boost-kopf/boost SYMBOLIC)
add_library(Boost::headers INTERFACE IMPORTED)
set_target_properties(Boost::headers PROPERTIES
                      INTERFACE_INCLUDE_DIRECTORIES ${PROJECT_BINARY_DIR}/boost-kopf)
