// Placeholder so the application library is never empty.
namespace AppInfo
{
const char* Name()
{
    return "Quillet";
}
}
