#include "app/project.h"
#include "forms/thunrt.h"

int main()
{
    return tovrik::ThunRTMain(tovrik::projectHeader());
}
