#include "edit/pagenumbers.h"

namespace PageNumbers {

int afterMove(int page, int from, int to)
{
    if (page < 0)
        return page;
    if (page == from)
        return to;
    if (from < to && page > from && page <= to)
        return page - 1;
    if (to < from && page >= to && page < from)
        return page + 1;
    return page;
}

int afterRemoval(int page, int removed)
{
    if (page == removed)
        return -1;
    return page > removed ? page - 1 : page;
}

bool movePage(ProjectData &project, int from, int to)
{
    const int count = project.pages.size();
    if (from < 0 || from >= count || to < 0 || to >= count)
        return false;
    project.pages.move(from, to);
    project.bootPage = afterMove(project.bootPage, from, to);
    project.currentPage = afterMove(project.currentPage, from, to);
    return true;
}

}  // namespace PageNumbers
