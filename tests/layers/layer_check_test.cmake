# cmake -DCHECK_SCRIPT=... -DQTCORE_DIR=... -DQTSQL_DIR=... -DWORK_DIR=...
#       -P layer_check_test.cmake
set(order "core/settings,core/engine,app/files,app/run,gui/files,gui/window")
set(failures "")

# check(NAME LAYER FILE CONTENT EXPECT) plants FILE (below WORK_DIR/src) and runs the check.
function(check name layer file content expect)
    set(src ${WORK_DIR}/${name}/src)
    file(REMOVE_RECURSE ${WORK_DIR}/${name})
    file(WRITE ${src}/${file} "${content}")
    file(WRITE ${WORK_DIR}/${name}/list.txt "${src}/${file}")
    execute_process(COMMAND ${CMAKE_COMMAND} -DLAYER=${layer}
            -DSOURCES_FILE=${WORK_DIR}/${name}/list.txt -DQTCORE_DIR=${QTCORE_DIR}
            -DQTSQL_DIR=${QTSQL_DIR}
            -DSRC_DIR=${src} -DFOLDER_ORDER=${order} -DSTAMP=${WORK_DIR}/${name}/stamp
            -P ${CHECK_SCRIPT}
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
    if(expect STREQUAL "pass" AND NOT status EQUAL 0)
        set(failures "${failures}\n${name}: refused an allowed source:\n${errors}" PARENT_SCOPE)
    elseif(expect STREQUAL "fail" AND status EQUAL 0)
        set(failures "${failures}\n${name}: passed a forbidden include" PARENT_SCOPE)
    endif()
endfunction()

check(same_and_lower app app/run/a.cpp
    "#include \"app/run/b.h\"\n#include \"app/files/c.h\"\n#include \"core/engine/d.h\"\n#include <QString>\n" pass)
check(gui_uses_all gui gui/window/a.cpp
    "#include \"gui/files/b.h\"\n#include \"app/run/c.h\"\n#include <QWidget>\n" pass)
check(core_includes_app core core/engine/a.cpp "#include \"app/files/b.h\"\n" fail)
check(app_includes_gui app app/run/a.h "#include \"gui/window/b.h\"\n" fail)
check(later_folder_same_layer gui gui/files/a.cpp "#include \"gui/window/b.h\"\n" fail)
check(unknown_folder app app/run/a.cpp "#include \"app/elsewhere/b.h\"\n" fail)
check(source_outside_plan app app/elsewhere/a.cpp "int x;\n" fail)
check(qt_in_core core core/settings/a.cpp "#include <QString>\n" fail)
check(widgets_in_app app app/files/a.cpp "#include <QtWidgets/QWidget>\n" fail)
check(gui_class_in_app app app/files/a.cpp "#include <QWidget>\n" fail)
check(sql_in_app app app/files/a.cpp "#include <QSqlDatabase>\n#include <QtSql/QSqlQuery>\n" pass)
check(sql_in_core core core/engine/a.cpp "#include <QSqlDatabase>\n" fail)
check(gui_module_in_app app app/files/a.cpp "#include <QtGui/QImage>\n" fail)

if(failures)
    message(FATAL_ERROR "${failures}")
endif()
