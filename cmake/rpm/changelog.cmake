# bin2dec_rpm_changelog(CHANGELOG OUTPUT) writes the Debian changelog CHANGELOG as the entries of
# an RPM package's %changelog, newest first as both have them:
#
#   * Thu Dec 10 2026 NAME <ADDRESS> - VERSION-1
#   - an item,
#     its next line
#
# The text is taken as a string, never as a list, as its lines hold semicolons.
function(bin2dec_rpm_changelog changelog output)
  file(READ "${changelog}" text)
  set(entries "")
  while(text MATCHES "^bin2dec \\(([0-9.]+)\\)[^\n]*\n\n")
    set(version "${CMAKE_MATCH_1}")
    string(LENGTH "${CMAKE_MATCH_0}" start)
    string(FIND "${text}" "\n -- " end)
    if(end EQUAL -1)
      message(FATAL_ERROR "${changelog}: the entry for ${version} has no trailer line")
    endif()
    math(EXPR length "${end} - ${start}")
    string(SUBSTRING "${text}" ${start} ${length} items)
    math(EXPR end "${end} + 5")
    string(SUBSTRING "${text}" ${end} -1 text)
    if(NOT text MATCHES "^([^\n]+)  ([A-Z][a-z][a-z]), ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) [^\n]*\n\n?")
      message(FATAL_ERROR "${changelog}: the trailer of ${version}'s entry has no name and date")
    endif()
    set(heading "* ${CMAKE_MATCH_2} ${CMAKE_MATCH_4} ${CMAKE_MATCH_3} ${CMAKE_MATCH_5} ${CMAKE_MATCH_1}")
    string(LENGTH "${CMAKE_MATCH_0}" trailer)
    string(SUBSTRING "${text}" ${trailer} -1 text)
    string(REGEX REPLACE "(^|\n)  \\* " "\\1- " items "${items}")
    string(REGEX REPLACE "(^|\n)    " "\\1  " items "${items}")
    string(REPLACE "%" "%%" items "${items}")
    string(STRIP "${items}" items)
    string(APPEND entries "${heading} - ${version}-1\n${items}\n\n")
  endwhile()
  string(STRIP "${text}" text)
  if(NOT entries OR text)
    string(REGEX MATCH "^[^\n]*" line "${text}")
    message(FATAL_ERROR "${changelog}: '${line}' begins no entry for bin2dec, as Debian writes one")
  endif()
  string(STRIP "${entries}" entries)
  file(WRITE "${output}" "${entries}\n")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${changelog}")
endfunction()
