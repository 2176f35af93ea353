# Vop.exe: the core, the Win32 shell and the resources, with a static runtime
# so the program runs on a bare Windows (and under Wine) without extra DLLs.
set(VOP_FONT_FILES font.fnt font1.fnt font2.fnt digits.fnt digits1.fnt digits2.fnt)

target_compile_definitions(vop_core PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# GCC for Windows keeps the stack aligned to 16 bytes only, yet moves 256-bit
# values to and from it with instructions that need 32: the search's AVX2 scan
# would fault. Assembled with every vector move unaligned (binutils 2.38 on),
# those moves work at any address, and the scan is built in.
include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-Wa,-muse-unaligned-vector-move VOP_UNALIGNED_VECTOR_MOVES)
if(VOP_UNALIGNED_VECTOR_MOVES)
  target_compile_options(vop_core PRIVATE -Wa,-muse-unaligned-vector-move)
  target_compile_definitions(vop_core PRIVATE VOP_UNALIGNED_VECTOR_MOVES)
endif()

# The version as four numbers (1.16 is 1.16.0.0) for the version resource and
# the manifest, and as written for the release zip's name (scripts/package.sh).
foreach(field MAJOR MINOR PATCH TWEAK)
  set(VOP_VERSION_${field} 0)
  if(NOT "${PROJECT_VERSION_${field}}" STREQUAL "")
    set(VOP_VERSION_${field} ${PROJECT_VERSION_${field}})
  endif()
endforeach()
set(VOP_VERSION_QUAD ${VOP_VERSION_MAJOR}.${VOP_VERSION_MINOR}.${VOP_VERSION_PATCH}.${VOP_VERSION_TWEAK})
set(VOP_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(resources/vop_version.h.in ${VOP_GENERATED}/vop_version.h @ONLY)
configure_file(resources/vop.manifest.in ${VOP_GENERATED}/vop.manifest @ONLY)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/VERSION CONTENT "${PROJECT_VERSION}\n")

add_executable(Vop WIN32 ${VOP_SHELL_SOURCES} resources/vop.rc)
target_compile_options(Vop PRIVATE ${VOP_STRICT_WARNINGS})
target_include_directories(Vop PRIVATE ${VOP_GENERATED})
# Only what start-up needs is imported: comdlg32, shell32, ole32, oleacc,
# oleaut32, winmm and msimg32 are loaded at their first use
# (shell/system_calls_win32.h). uuid gives the interface IDs.
target_link_libraries(Vop PRIVATE vop_core comctl32 uuid gdi32 user32)
# wWinMain: the command line arrives as wide text, so any file name gets through.
# The link map says which runtime libraries went in (scripts/check_release.py
# holds them against THIRD-PARTY-NOTICES.txt).
target_link_options(Vop PRIVATE -static -static-libgcc -static-libstdc++ -mwindows -municode -s
                    -Wl,-Map=${CMAKE_BINARY_DIR}/Vop.map)
set_target_properties(Vop PROPERTIES OUTPUT_NAME Vop RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/portable)

# The portable folder: Vop.exe with the six font files beside it.
foreach(font ${VOP_FONT_FILES})
  add_custom_command(TARGET Vop POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/fonts/${font} ${CMAKE_BINARY_DIR}/portable/${font})
endforeach()
# The fonts' licence travels with them, and the help page the About box opens.
add_custom_command(TARGET Vop POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/fonts/LICENSE-Terminus.txt ${CMAKE_BINARY_DIR}/portable/LICENSE-Terminus.txt
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/VopHelp.html ${CMAKE_BINARY_DIR}/portable/VopHelp.html)
# The resource compiler embeds these files; a new one rebuilds the program.
set(VOP_RC_INPUTS vop.ico about.mbm dialogs.rc resource_ids.h version.rc)
list(TRANSFORM VOP_RC_INPUTS PREPEND ${CMAKE_SOURCE_DIR}/resources/)
set_source_files_properties(resources/vop.rc PROPERTIES OBJECT_DEPENDS
  "${VOP_RC_INPUTS};${VOP_GENERATED}/vop_version.h;${VOP_GENERATED}/vop.manifest")

# Test and benchmark helpers that run under Wine beside Vop.exe.
file(GLOB VOP_WINE_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/tools/*_win32.cpp)
foreach(tool_src ${VOP_WINE_TOOLS})
  get_filename_component(tool ${tool_src} NAME_WE)
  string(REGEX REPLACE "_win32$" "" tool ${tool})
  add_executable(${tool} ${tool_src})
  target_link_libraries(${tool} PRIVATE vop_core comctl32 gdi32 user32 psapi shell32 ntdll ole32 uuid oleacc oleaut32)
  target_link_options(${tool} PRIVATE -static -static-libgcc -static-libstdc++)
  set_target_properties(${tool} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endforeach()

file(GLOB VOP_WINE_BENCH CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_win32.cpp)
foreach(bench_src ${VOP_WINE_BENCH})
  get_filename_component(bench ${bench_src} NAME_WE)
  string(REGEX REPLACE "_win32$" "" bench ${bench})
  add_executable(${bench} ${bench_src})
  target_link_libraries(${bench} PRIVATE vop_core comctl32 gdi32 user32 psapi)
  target_link_options(${bench} PRIVATE -static -static-libgcc -static-libstdc++)
  set_target_properties(${bench} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endforeach()
# The start-up yardsticks are GUI programs like Vop.exe; the framed window
# loads common controls 6 from Vop's own manifest.
foreach(yardstick empty_window framed_window)
  set_target_properties(${yardstick} PROPERTIES WIN32_EXECUTABLE TRUE)
  target_link_options(${yardstick} PRIVATE -mwindows)
endforeach()
target_sources(framed_window PRIVATE bench/framed_window.rc)
target_include_directories(framed_window PRIVATE ${VOP_GENERATED})

# Platform-free benchmarks that are also measured under Wine.
foreach(bench line_index_bench document_search_bench wave_tick_bench)
  add_executable(${bench}_wine ${CMAKE_SOURCE_DIR}/bench/${bench}.cpp)
  target_link_libraries(${bench}_wine PRIVATE vop_core)
  target_link_options(${bench}_wine PRIVATE -static -static-libgcc -static-libstdc++)
  set_target_properties(${bench}_wine PROPERTIES OUTPUT_NAME ${bench} RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endforeach()
