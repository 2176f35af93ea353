# The same sources give the same Vop.exe byte for byte, whenever and wherever
# they are built, so anyone can build a release again and compare its
# checksum (scripts/check_release.py does, in a second folder). Included
# before the first target: the options reach every target.

# No folder of this machine in the binary: __FILE__ and the like name paths
# relative to the source tree and the build folder instead.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
# ld writes the link time into the PE header unless told not to.
add_link_options(-Wl,--no-insert-timestamp)
# Archives without member dates, owners or modes (ar's and ranlib's D).
foreach(lang C CXX)
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endforeach()
