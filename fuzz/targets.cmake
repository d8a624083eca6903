# The fuzz targets and the libraries each one needs, shared by the libFuzzer
# build (fuzz/CMakeLists.txt) and the replay tests (tests/reliability).
set(LARKSPIN_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
set(LARKSPIN_FUZZ_TARGETS
  string_load wav_load ogg_load png_load saved_state url_parse http_response utf8_decode)

set(larkspin_fuzz_libs_string_load larkspin_runtime)
set(larkspin_fuzz_libs_wav_load larkspin_host)
set(larkspin_fuzz_libs_ogg_load larkspin_host)
set(larkspin_fuzz_libs_png_load larkspin_host)
set(larkspin_fuzz_libs_saved_state larkspin_game)
set(larkspin_fuzz_libs_url_parse larkspin_net)
set(larkspin_fuzz_libs_http_response larkspin_net)
set(larkspin_fuzz_libs_utf8_decode larkspin_net)

# larkspin_fuzz_target(<exe> <target> [REPLAY]): one executable for one
# target; REPLAY gives it the plain corpus runner instead of libFuzzer.
function(larkspin_fuzz_target exe target)
  cmake_parse_arguments(ARG "REPLAY" "" "" ${ARGN})
  set(sources ${LARKSPIN_FUZZ_DIR}/targets/${target}.cpp ${LARKSPIN_FUZZ_DIR}/fuzz_support.cpp)
  if(ARG_REPLAY)
    list(APPEND sources ${LARKSPIN_FUZZ_DIR}/replay_main.cpp)
  endif()
  add_executable(${exe} ${sources})
  target_include_directories(${exe} PRIVATE ${LARKSPIN_FUZZ_DIR} ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${exe} PRIVATE ${larkspin_fuzz_libs_${target}})
  if(NOT ARG_REPLAY)
    target_link_options(${exe} PRIVATE -fsanitize=fuzzer)
  endif()
  larkspin_warnings(${exe})
endfunction()

# larkspin_fuzz_seed_generator(<dir>): the program writing the binary seeds
# (sounds and pictures) into <dir>/<target>/ at build time, and the target
# larkspin_fuzz_seeds that runs it.
function(larkspin_fuzz_seed_generator dir)
  set(assetgen ${LARKSPIN_FUZZ_DIR}/../tools/assetgen)
  find_package(ZLIB REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(FUZZ_VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
  add_executable(larkspin_fuzz_seedgen ${LARKSPIN_FUZZ_DIR}/make_seeds.cpp
                 ${assetgen}/png.cpp ${assetgen}/ogg.cpp ${assetgen}/wav.cpp)
  target_include_directories(larkspin_fuzz_seedgen PRIVATE ${assetgen})
  target_link_libraries(larkspin_fuzz_seedgen PRIVATE ZLIB::ZLIB PkgConfig::FUZZ_VORBISENC)
  larkspin_warnings(larkspin_fuzz_seedgen)
  set(stamp ${dir}/seeds.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND larkspin_fuzz_seedgen ${dir}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS larkspin_fuzz_seedgen
    COMMENT "Writing fuzz seeds to ${dir}"
    VERBATIM)
  add_custom_target(larkspin_fuzz_seeds ALL DEPENDS ${stamp})
endfunction()
