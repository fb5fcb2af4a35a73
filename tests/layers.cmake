# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE=src -DSTUB=AEXE.tms -P layers.cmake
# Fails when a source folder includes a header of a folder above it in the layers, when the
# transition library's core includes Qt, when a header in a detail/ folder is included from
# outside the folder that holds it, when the library includes its own umbrella header, when
# headers include one another in a cycle, or when the standalone player holds code of the editor.
cmake_minimum_required(VERSION 3.25)
set(allowed_common common)
set(allowed_media common media)
set(allowed_transitions/core common transitions/core)
set(allowed_transitions/engine common transitions/core transitions/engine)
set(allowed_transitions/effects common transitions/core transitions/engine transitions/effects)
set(allowed_transitions common transitions)
set(allowed_show common media show)
set(allowed_player common media transitions show player)
set(allowed_export common media transitions show player export)
set(allowed_browse common media transitions show player browse)
set(allowed_dialogs common media transitions show player export dialogs)
set(allowed_app common media transitions show player export browse dialogs app)
set(allowed_stub common media show player)
set(allowed_fx common transitions player)
# The core builds without Qt, so of the common folder it takes only the plain C++ headers.
set(core_common common/random.h common/arith.h)
# Core files that still take Qt's picture and geometry types, until they move to the core's own;
# no other core file may include Qt, and none may include the engine.
set(core_files_with_qt
  transitions/core/frames/band_mask.h transitions/core/frames/block_grid.h
  transitions/core/frames/circle_frames.h transitions/core/frames/circle_plan.h
  transitions/core/frames/puzzle_pieces.h transitions/core/frames/radial_geometry.h
  transitions/core/kernels/blend_kernels.cpp transitions/core/kernels/drip_kernels.h
  transitions/core/kernels/row_kernels.h transitions/core/kernels/wipe_kernels.h
  transitions/core/shapes/half_open_rect.h transitions/core/shapes/mask_paint.h
  transitions/core/shapes/mono_paint.h
  transitions/core/shapes/scanned_runs.h transitions/core/shapes/shape_runs.h)

# The layer a source file belongs to: its top folder, or the part of the transition library.
function(layer_of name out)
  if(name MATCHES "^transitions/(core|engine|effects)/")
    set(${out} "transitions/${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    string(REGEX REPLACE "/.*" "" top "${name}")
    set(${out} "${top}" PARENT_SCOPE)
  endif()
endfunction()

set(failures "")
file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE} ${SOURCE}/*)
foreach(folder IN LISTS folders)
  if(IS_DIRECTORY ${SOURCE}/${folder} AND NOT DEFINED allowed_${folder})
    list(APPEND failures "${folder}: a source folder without a place in the layers")
  endif()
endforeach()

file(GLOB_RECURSE sources RELATIVE ${SOURCE} ${SOURCE}/*.h ${SOURCE}/*.cpp)
set(headers "")
foreach(name IN LISTS sources)
  layer_of("${name}" layer)
  if(NOT DEFINED allowed_${layer})
    continue()
  endif()
  file(STRINGS ${SOURCE}/${name} includes REGEX "^#include [\"<]")
  set(edges_${name} "")
  foreach(line IN LISTS includes)
    if(line MATCHES "^#include <(Q[A-Za-z]*|qt[a-z]*/)" AND layer STREQUAL "transitions/core"
       AND NOT name IN_LIST core_files_with_qt)
      list(APPEND failures "${name} includes Qt (${line}): the core builds without it")
    endif()
    if(NOT line MATCHES "^#include \"([a-z_]+/[a-z_/]*[a-z_0-9]+\\.h)\"")
      continue()
    endif()
    set(used_path "${CMAKE_MATCH_1}")
    list(APPEND edges_${name} "${used_path}")
    layer_of("${used_path}" used)
    string(REGEX REPLACE "/.*" "" used_top "${used}")
    if(NOT used IN_LIST allowed_${layer} AND NOT used_top IN_LIST allowed_${layer})
      list(APPEND failures "${name} includes ${used_path}")
    elseif(layer STREQUAL "transitions/core" AND used STREQUAL "common" AND NOT used_path IN_LIST core_common)
      list(APPEND failures "${name} includes ${used_path}, which needs Qt")
    endif()
    if(used_path MATCHES "^(.*)/detail/[^/]+$")
      set(owner "${CMAKE_MATCH_1}/")
      string(FIND "${name}" "${owner}" at)
      if(NOT at EQUAL 0)
        list(APPEND failures "${name} includes ${used_path}, private to ${owner}")
      endif()
    endif()
    if(used_path STREQUAL "transitions/transitions.h" AND layer MATCHES "^transitions")
      list(APPEND failures "${name} includes the library's umbrella header")
    endif()
  endforeach()
endforeach()

# Include cycles among headers: a depth-first walk that marks headers in progress and done.
function(visit header)
  if(visiting_${header})
    list(APPEND failures "an include cycle passes through ${header}")
    set(failures "${failures}" PARENT_SCOPE)
    return()
  endif()
  if(done_${header})
    return()
  endif()
  set(visiting_${header} TRUE PARENT_SCOPE)
  set(visiting_${header} TRUE)
  foreach(next IN LISTS edges_${header})
    visit("${next}")
  endforeach()
  set(visiting_${header} FALSE PARENT_SCOPE)
  set(done_${header} TRUE PARENT_SCOPE)
  set(failures "${failures}" PARENT_SCOPE)
endfunction()
foreach(name IN LISTS sources)
  if(name MATCHES "\\.h$")
    visit("${name}")
  endif()
endforeach()

if(STUB)
  execute_process(COMMAND nm -C ${STUB} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    list(APPEND failures "nm could not read ${STUB}")
  endif()
  foreach(editor MainWindow FileListView OptionsDialog EffectSelectionDialog BuildShowDialog)
    if(symbols MATCHES "lumetta::${editor}::")
      list(APPEND failures "the standalone player holds ${editor}")
    endif()
  endforeach()
endif()

if(failures)
  list(REMOVE_DUPLICATES failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
