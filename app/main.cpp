#include "app/project.h"
#include "runtime/thunrt.h"

int main()
{
    return tovrik::ThunRTMain(tovrik::projectHeader());
}
