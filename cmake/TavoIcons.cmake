# tavo_render_svg_icons(PNGS_VAR QRC_ENTRIES_VAR SVG_DIR SIZE NAME...)
# Renders SVG_DIR/NAME.svg to <current binary dir>/images/NAME.png, SIZE pixels square, with the
# svg2png tool at build time, and returns the PNG paths and their .qrc lines ("images/NAME.png").
function(tavo_render_svg_icons pngs_var entries_var svg_dir size)
    set(pngs)
    set(entries)
    foreach(icon ${ARGN})
        set(svg ${svg_dir}/${icon}.svg)
        set(png ${CMAKE_CURRENT_BINARY_DIR}/images/${icon}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/images
            COMMAND svg2png ${svg} ${png} ${size}
            DEPENDS svg2png ${svg}
            VERBATIM)
        list(APPEND pngs ${png})
        string(APPEND entries "        <file>images/${icon}.png</file>\n")
    endforeach()
    set(${pngs_var} ${pngs} PARENT_SCOPE)
    set(${entries_var} "${entries}" PARENT_SCOPE)
endfunction()
