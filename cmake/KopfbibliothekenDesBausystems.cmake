# In a cross-build, CLI11 and nlohmann-json come from the build machine: both are headers only,
# so they serve any target. Their folders are copied into the build tree, since naming the build
# machine's /usr/include would put its C library headers before the target's.
foreach(kopf CLI/CLI.hpp nlohmann/json.hpp)
  get_filename_component(ordner ${kopf} DIRECTORY)
  find_path(kopf_${ordner} ${kopf} PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH
            NO_DEFAULT_PATH REQUIRED)
  file(COPY ${kopf_${ordner}}/${ordner} DESTINATION ${PROJECT_BINARY_DIR}/kopfbibliotheken)
endforeach()
add_library(CLI11::CLI11 INTERFACE IMPORTED)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 nlohmann_json::nlohmann_json PROPERTIES
                      INTERFACE_INCLUDE_DIRECTORIES ${PROJECT_BINARY_DIR}/kopfbibliotheken)
