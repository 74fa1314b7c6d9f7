// The program the launch benchmark starts: a console program that ends at once.
int main() {
    return 0;
}
