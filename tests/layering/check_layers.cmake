# Fails when a file under SOURCE_DIR includes a header of a layer above its
# own, or when a plain C++ layer includes Qt. Layers, lowest first:
#   model < astro < analysis < core < ui, cli < app
# ui and cli are siblings: neither may include the other, with one
# exception: the tool's --pdf writes the window's printable report, which
# needs the painting of the window layer, so cli may include ui/report.h
# (and no other header of ui).
cmake_minimum_required(VERSION 3.22)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(allowed_model "model")
set(allowed_astro "model;astro")
set(allowed_analysis "model;astro;analysis")
set(allowed_core "model;astro;analysis;core")
set(allowed_ui "model;astro;analysis;core;ui")
set(allowed_cli "model;astro;analysis;core;cli")
set(allowed_app "model;astro;analysis;core;ui;app")
set(layers model astro analysis core ui cli app)
set(plain_layers model astro analysis core)

set(violations "")
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp" "${SOURCE_DIR}/${layer}/*.h.in")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+)/")
        set(target "${CMAKE_MATCH_1}")
        list(FIND layers "${target}" known)
        list(FIND allowed_${layer} "${target}" ok)
        set(report_from_cli FALSE)
        if(layer STREQUAL "cli" AND line MATCHES "#[ \t]*include[ \t]*\"ui/report\\.h\"")
          set(report_from_cli TRUE)
        endif()
        if(known GREATER -1 AND ok EQUAL -1 AND NOT report_from_cli)
          list(APPEND violations "${file}: ${layer} includes ${target}: ${line}")
        endif()
      endif()
      list(FIND plain_layers "${layer}" plain)
      if(plain GREATER -1 AND line MATCHES "#[ \t]*include[ \t]*[<\"](Q[A-Za-z]*|qt[A-Za-z]*/)")
        list(APPEND violations "${file}: ${layer} is plain C++ but includes Qt: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n" text)
  message(FATAL_ERROR "Includes that point up:\n${text}")
endif()
message(STATUS "Every include points down.")
