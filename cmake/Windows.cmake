# The editor on Windows: a program of the GUI subsystem (no console window
# opens beside it), with the icon Windows shows for it, its shortcuts and its
# files (the first icon of the program; Qt gives it to the windows too), and
# its version in the file's properties.
enable_language(RC)
set_target_properties(orvane PROPERTIES WIN32_EXECUTABLE ON)

# The icon's sizes are drawn from the SVG (rsvg-convert) and packed into an
# .ico file (icotool, Debian's icoutils).
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)
set(ORVANE_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
set(ORVANE_ICON_PNGS)
foreach(size 16 24 32 48 64 256)
  set(png ${ORVANE_WINDOWS_DIR}/icon-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVANE_WINDOWS_DIR}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
            ${CMAKE_SOURCE_DIR}/data/${ORVANE_APP_ID}.svg
    DEPENDS ${CMAKE_SOURCE_DIR}/data/${ORVANE_APP_ID}.svg VERBATIM)
  list(APPEND ORVANE_ICON_PNGS ${png})
endforeach()
# The largest size is kept as PNG inside the .ico (as Windows Vista and later read it).
set(ORVANE_ICON ${ORVANE_WINDOWS_DIR}/orvane.ico)
list(POP_BACK ORVANE_ICON_PNGS ORVANE_ICON_LARGEST)
add_custom_command(OUTPUT ${ORVANE_ICON}
  COMMAND ${ICOTOOL} -c -o ${ORVANE_ICON} ${ORVANE_ICON_PNGS} --raw=${ORVANE_ICON_LARGEST}
  DEPENDS ${ORVANE_ICON_PNGS} ${ORVANE_ICON_LARGEST} VERBATIM)

configure_file(${CMAKE_SOURCE_DIR}/cmake/orvane.rc.in ${ORVANE_WINDOWS_DIR}/orvane.rc @ONLY)
target_sources(orvane PRIVATE ${ORVANE_WINDOWS_DIR}/orvane.rc)
set_source_files_properties(${ORVANE_WINDOWS_DIR}/orvane.rc PROPERTIES OBJECT_DEPENDS ${ORVANE_ICON})
