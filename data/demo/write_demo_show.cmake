# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE=DIR -DFOLDER=DIR -DOUTPUT=FILE -P write_demo_show.cmake
# Writes the demo project: the pictures of SOURCE in name order, named as they stand in FOLDER,
# shown for four seconds each with every transition, over a dark gradient, once through.
cmake_minimum_required(VERSION 3.25)
file(GLOB pictures RELATIVE ${SOURCE} ${SOURCE}/*.jpg)
list(SORT pictures)
set(lines 4 90 Random "No music" "$00100804_$00583018" No Color Tile No Shadow)
foreach(picture IN LISTS pictures)
  list(APPEND lines ${FOLDER}/${picture})
endforeach()
list(APPEND lines [TRANS])
foreach(effect RANGE 0 20)
  list(APPEND lines ${effect})
endforeach()
list(APPEND lines [MUSIC])
set(text "")
foreach(line IN LISTS lines)
  string(APPEND text "${line}\r\n")
endforeach()
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(WRITE ${OUTPUT} "${text}")
