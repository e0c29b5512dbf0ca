# Shared by ./run, ./test and the scripts: package list, data folder, build helpers.
# Sourced, never run on its own.

VX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

VX_PACKAGES=(
    build-essential cmake pkg-config git
    qt6-base-dev qt6-charts-dev qt6-multimedia-dev libqt6opengl6-dev
    unixodbc unixodbc-dev odbc-postgresql libpq-dev libgoogle-perftools-dev
    postgresql postgresql-client
    libboost-regex-dev libboost-dev
    libsqlite3-dev zlib1g-dev libpugixml-dev
    libx11-dev libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth openbox xdotool
    fonts-dejavu-core fonts-noto-cjk fonts-noto-color-emoji
    clang-format-14 unzip time
)

vx_data_dir() {
    if [[ -n "${VELTRIX_HOME:-}" ]]; then
        echo "$VELTRIX_HOME"
    else
        echo "${XDG_DATA_HOME:-$HOME/.local/share}/veltrix"
    fi
}

vx_sudo() {
    if [[ $(id -u) -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "veltrix: need root rights to run: $*" >&2
        return 1
    fi
}

# Installs the Debian packages that are not installed yet.
vx_install_packages() {
    local missing=()
    local p
    for p in "${VX_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if ((${#missing[@]})); then
        echo "veltrix: installing ${missing[*]}"
        vx_sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
        vx_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
    vx_check_odbc_driver
}

# The program connects with the driver name "PostgreSQL Unicode"; Debian's
# odbc-postgresql registers it, but a machine may have lost the entry.
vx_check_odbc_driver() {
    if ! odbcinst -q -d 2>/dev/null | grep -qx '\[PostgreSQL Unicode\]'; then
        local drv
        drv=$(find /usr/lib -name psqlodbcw.so 2>/dev/null | head -n1)
        if [[ -z "$drv" ]]; then
            echo "veltrix: the PostgreSQL ODBC driver psqlodbcw.so is missing" >&2
            return 1
        fi
        local tmp
        tmp=$(mktemp)
        printf '[PostgreSQL Unicode]\nDescription=PostgreSQL ODBC driver (Unicode version)\nDriver=%s\n' "$drv" >"$tmp"
        vx_sudo odbcinst -i -d -f "$tmp" >/dev/null
        rm -f "$tmp"
    fi
    odbcinst -q -d | grep -qx '\[PostgreSQL Unicode\]'
}

vx_jobs() {
    nproc 2>/dev/null || echo 2
}

# Configures and builds into the given folder; extra arguments go to cmake.
vx_build() {
    local dir="$1"
    shift
    cmake -S "$VX_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$dir" --parallel "$(vx_jobs)"
}
