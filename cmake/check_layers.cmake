# Fails the build when an include points up the layers. Run with
#   cmake -DSOURCE_DIR=<tree> -DSTAMP=<file> -P check_layers.cmake
# The layers, lowest first; a file may include headers of its own layer and
# of the layers below it, never above:
#   state     the one EditorState and the shared types, the Ui and FileSystem interfaces
#   files     the real file system, the settings file, the font files
#   document  the page window's bytes, saving and the save questions, the line index
#   view      the screen: layout, rendering, caret and scrolling, and the
#             operations that load pages and then update the screen
#   entry_fields  the entry fields' models: the hex fields and the pattern rows
#   search    the sequence search
#   about     the About picture
#   app       what input and commands do: data window input, menu commands, start-up
#   shell     the Win32 windows and dialogs (every *_win32 file, and only those)
# Headers of resources/ (identifiers shared with the resource script) may be
# included from anywhere. Only the shell may include the Windows headers.
set(layers state files document view entry_fields search about app shell)
set(windows_headers windows.h commctrl.h commdlg.h shellapi.h mmsystem.h shlobj.h psapi.h)

set(problems "")
foreach(layer ${layers})
  list(FIND layers ${layer} rank)
  file(GLOB sources ${SOURCE_DIR}/${layer}/*.cpp ${SOURCE_DIR}/${layer}/*.h)
  foreach(source ${sources})
    file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
    string(REGEX MATCH "_win32\\.(cpp|h)$" shell_named "${name}")
    if(layer STREQUAL "shell" AND NOT shell_named)
      string(APPEND problems "  ${name}: a shell file is named *_win32\n")
    elseif(NOT layer STREQUAL "shell" AND shell_named)
      string(APPEND problems "  ${name}: Win32 code belongs in shell/\n")
    endif()
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+)/")
        set(target ${CMAKE_MATCH_1})
        list(FIND layers ${target} target_rank)
        if(target_rank GREATER rank)
          string(APPEND problems "  ${name}: ${layer} may not include ${target}/ (${line})\n")
        elseif(target_rank EQUAL -1 AND NOT target STREQUAL "resources")
          string(APPEND problems "  ${name}: ${target}/ is no layer of the program (${line})\n")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<([a-z]+\\.h)>" AND NOT layer STREQUAL "shell")
        list(FIND windows_headers ${CMAKE_MATCH_1} windows)
        if(NOT windows EQUAL -1)
          string(APPEND problems "  ${name}: only the shell may include <${CMAKE_MATCH_1}>\n")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Includes that point up the layers:\n${problems}")
endif()
file(WRITE ${STAMP} "layers checked\n")
