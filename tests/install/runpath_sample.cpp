// Linked with empty and relative search path entries, for check-runpath to refuse.
int main()
{
    return 0;
}
