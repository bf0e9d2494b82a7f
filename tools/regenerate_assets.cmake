# Paints every committed asset anew with the generators (cmake -P):
#   -DOUT=<folder>   writes <folder>/assets/{sheets,glyphs,icons,cues} and
#                    <folder>/docs/contact-{crates,pictures}.png
#   -DSHEETGEN= -DARTGEN= -DCUEGEN= -DCONTACTSHEET=   the generators
#   -DCOMPARE=<source tree>   then requires the files written and the files
#                    committed there to be the same files, byte for byte.
# The target regenerate-assets runs it with OUT at the source tree; the test
# assets_reproduce runs it into a scratch folder with COMPARE.
cmake_minimum_required(VERSION 3.25)
foreach(var OUT SHEETGEN ARTGEN CUEGEN CONTACTSHEET)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "regenerate_assets.cmake needs -D${var}=...")
  endif()
endforeach()

# Each step reads what the one before wrote: artgen cuts crates from the crate
# sheet, contactsheet lays out the sheets.
set(steps
    "${SHEETGEN}|${OUT}/assets/sheets"
    "${ARTGEN}|${OUT}/assets"
    "${CUEGEN}|${OUT}/assets/cues"
    "${CONTACTSHEET}|${OUT}/assets/sheets|${OUT}/docs/contact")
if(DEFINED COMPARE)
  # A scratch folder: start it empty, so only what this run writes is compared.
  file(REMOVE_RECURSE ${OUT}/assets ${OUT}/docs)
endif()
file(MAKE_DIRECTORY ${OUT}/assets/cues ${OUT}/docs)
foreach(step IN LISTS steps)
  string(REPLACE "|" ";" command "${step}")
  # No display is needed; in a sanitized build the tools are sanitized too, and
  # what a generator leaves allocated at its exit does not matter.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            ${command}
    RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${command}")
  endif()
endforeach()

if(NOT DEFINED COMPARE)
  return()
endif()
set(patterns assets/sheets/*.png assets/glyphs/*.png assets/icons/*.png assets/cues/*.wav
             docs/contact-crates.png docs/contact-pictures.png)
set(committed_patterns)
set(written_patterns)
foreach(pattern IN LISTS patterns)
  list(APPEND committed_patterns ${COMPARE}/${pattern})
  list(APPEND written_patterns ${OUT}/${pattern})
endforeach()
file(GLOB committed RELATIVE ${COMPARE} ${committed_patterns})
file(GLOB written RELATIVE ${OUT} ${written_patterns})
list(SORT committed)
list(SORT written)
set(faults 0)
foreach(file IN LISTS committed)
  if(NOT file IN_LIST written)
    message(SEND_ERROR "committed but no generator writes it: ${file}")
    math(EXPR faults "${faults} + 1")
  endif()
endforeach()
foreach(file IN LISTS written)
  if(NOT file IN_LIST committed)
    message(SEND_ERROR "written but not committed: ${file}")
    math(EXPR faults "${faults} + 1")
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${COMPARE}/${file} ${OUT}/${file}
                    RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
      message(SEND_ERROR "differs from what the generators write: ${file} "
                         "(cmake --build <build> --target regenerate-assets, then look and commit)")
      math(EXPR faults "${faults} + 1")
    endif()
  endif()
endforeach()
list(LENGTH written count)
if(faults EQUAL 0)
  message(STATUS "all ${count} generated assets are the committed ones, byte for byte")
endif()
