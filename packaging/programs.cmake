# What an installation adds to the game and the tools: the desktop entry, the AppStream
# metainfo, the icons and the manual pages. Included when the game is built.
set(app_id org.pelmora.pelmora)

install(FILES ${app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icons, drawn at build time from the window's own pixel art.
find_package(Qt6 REQUIRED COMPONENTS Gui)
add_executable(render_icon render_icon.cpp)
target_link_libraries(render_icon PRIVATE Qt6::Gui)
set(icon_sizes 16 22 24 32 48 64 128 256 512)
set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(icon_outputs ${icon_dir}/${app_id}.svg)
set(icon_arguments)
foreach(size IN LISTS icon_sizes)
  list(APPEND icon_outputs ${icon_dir}/${size}/${app_id}.png)
  list(APPEND icon_arguments ${size}:${icon_dir}/${size}/${app_id}.png)
  file(MAKE_DIRECTORY ${icon_dir}/${size})
endforeach()
add_custom_command(OUTPUT ${icon_outputs}
  COMMAND render_icon ${PROJECT_SOURCE_DIR}/assets/icon.xpm ${icon_dir}/${app_id}.svg
          ${icon_arguments}
  DEPENDS render_icon ${PROJECT_SOURCE_DIR}/assets/icon.xpm
  COMMENT "Drawing the icons")
add_custom_target(icons ALL DEPENDS ${icon_outputs})
install(FILES ${icon_dir}/${app_id}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS icon_sizes)
  install(FILES ${icon_dir}/${size}/${app_id}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The manual pages, made from each program's --help and --version so they cannot drift.
# help2man writes in its own locale, C unless told: its UTF-8 keeps the Japanese examples.
find_program(HELP2MAN help2man REQUIRED)
find_program(SED sed REQUIRED)
set(man_pelmora "arithmetic puzzle: join four digits with three operators to reach the target")
set(man_pelmora-eval "evaluate expressions with the Pelmora expression evaluator")
set(man_pelmora-solve "find the operators that make four digits reach the target")
# pelmora-eval's page gains a FUNCTIONS section: the table of --list-functions.
set(man_functions ${CMAKE_CURRENT_BINARY_DIR}/man/functions.h2m)
add_custom_command(OUTPUT ${man_functions}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
  COMMAND sh -c "{ printf '%s\\n' '[FUNCTIONS]' \
    'Every built-in of the expression language: its slots (its arguments, in slot order)' \
    'and the kind of its result. At the prompt, help NAME shows what one does, with an example.' \
    'The whole language is described in /usr/share/doc/pelmora/language.md.gz.' \
    '.PP' '.nf'; \"$1\" --list-functions; echo .fi; } > \"$2\"" sh $<TARGET_FILE:pelmora-eval> ${man_functions}
  DEPENDS pelmora-eval
  VERBATIM)
set(man_options_pelmora-eval --include=${man_functions})
set(man_depends_pelmora-eval ${man_functions})
set(man_pages)
foreach(program pelmora pelmora-eval pelmora-solve)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 SOURCE_DATE_EPOCH=${PELMORA_RELEASE_EPOCH}
            ${HELP2MAN} --no-info --section=1 --locale=C.UTF-8 "--name=${man_${program}}"
            ${man_options_${program}} --output=${page} $<TARGET_FILE:${program}>
    COMMAND ${SED} -i -f ${CMAKE_CURRENT_SOURCE_DIR}/man_sections.sed ${page}
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${program} man_sections.sed ${man_depends_${program}}
    COMMENT "Writing the manual page of ${program}")
  list(APPEND man_pages ${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
