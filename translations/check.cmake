# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a translation is missing or unfinished: lupdate reads the sources into a copy of
# each .ts file (never the committed one), where every message the sources gained is new and
# unfinished. Run by the build: cmake -DLUPDATE=... -DSOURCES_LIST=... -DOUT_DIR=...
# -DINCLUDE_DIR=src -DTS_FILES=a.ts;b.ts -DSTAMP=... -P check.cmake
foreach(ts IN LISTS TS_FILES)
    get_filename_component(name "${ts}" NAME)
    set(copy "${OUT_DIR}/${name}")
    file(COPY_FILE "${ts}" "${copy}")
    execute_process(COMMAND "${LUPDATE}" -silent -locations none -I "${INCLUDE_DIR}"
                            "@${SOURCES_LIST}" -ts "${copy}"
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${name}")
    endif()
    file(READ "${copy}" text)
    string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\""
           found "${text}")
    set(unfinished "")
    foreach(message IN LISTS found)
        string(REGEX REPLACE "<source>([^<]*)</source>.*" "\\1" source "${message}")
        string(APPEND unfinished "\n  ${source}")
    endforeach()
    if(unfinished)
        message(FATAL_ERROR "${name}: missing or unfinished translations (run the "
                            "update_translations target, translate, build again):${unfinished}")
    endif()
endforeach()
file(TOUCH "${STAMP}")
