# The release date, OWLET_RELEASE_DATE (YYYY-MM-DD), in the forms the documents want:
# OWLET_MAN_DATE for the man pages' headers ("December 2026") and OWLET_CHANGELOG_DATE for
# the changelog's last entry ("Tue, 08 Dec 2026 12:00:00 +0000").
string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" _ ${OWLET_RELEASE_DATE})
if(NOT CMAKE_MATCH_1)
    message(FATAL_ERROR "OWLET_RELEASE_DATE ${OWLET_RELEASE_DATE} is not YYYY-MM-DD")
endif()
set(_year ${CMAKE_MATCH_1})
math(EXPR _month "${CMAKE_MATCH_2}")
math(EXPR _day "${CMAKE_MATCH_3}")
set(_months January February March April May June July August September October November
    December)
math(EXPR _index "${_month} - 1")
list(GET _months ${_index} _monthName)
string(SUBSTRING ${_monthName} 0 3 _monthShort)
# The weekday by Zeller's congruence, January and February counted as months 13 and 14.
set(_m ${_month})
set(_y ${_year})
if(_m LESS 3)
    math(EXPR _m "${_m} + 12")
    math(EXPR _y "${_y} - 1")
endif()
math(EXPR _h "(${_day} + (13 * (${_m} + 1)) / 5 + ${_y} % 100 + (${_y} % 100) / 4 + (${_y} / 100) / 4 + 5 * (${_y} / 100)) % 7")
set(_weekdays Sat Sun Mon Tue Wed Thu Fri)
list(GET _weekdays ${_h} _weekday)
set(OWLET_MAN_DATE "${_monthName} ${_year}")
set(OWLET_CHANGELOG_DATE "${_weekday}, ${CMAKE_MATCH_3} ${_monthShort} ${_year} 12:00:00 +0000")
