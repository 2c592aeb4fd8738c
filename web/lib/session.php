<?php
// Sessions, log-on and the CSRF token of every state-changing request.
declare(strict_types=1);

require_once __DIR__ . '/rpc.php';
require_once __DIR__ . '/throttle.php';
require_once __DIR__ . '/audit.php';

/** Whether this request came over TLS (mod_ssl sets HTTPS). */
function served_over_tls(): bool
{
    $v = $_SERVER['HTTPS'] ?? '';
    return is_string($v) && $v !== '' && strtolower($v) !== 'off';
}

function session_begin(): void
{
    if (session_status() === PHP_SESSION_ACTIVE) {
        return;
    }
    session_name('VESTASESSION');
    // Served over TLS, the cookie never travels without it.
    session_set_cookie_params(['lifetime' => 0, 'path' => '/Vesta/', 'secure' => served_over_tls(), 'httponly' => true,
        'samesite' => 'Strict']);
    session_start();
}

function current_user(): ?string
{
    session_begin();
    return isset($_SESSION['user']) && is_string($_SESSION['user']) ? $_SESSION['user'] : null;
}

/** Every page but the log-on page starts here. */
function require_login(): string
{
    $user = current_user();
    if ($user === null) {
        header('Location: login.php', true, 303);
        exit;
    }
    return $user;
}

/** A text field of the posted form; '' when absent or not a text (a crafted name[] never warns). */
function post_text(string $key): string
{
    $v = $_POST[$key] ?? '';
    return is_string($v) ? $v : '';
}

function csrf_token(): string
{
    session_begin();
    if (empty($_SESSION['csrf']) || !is_string($_SESSION['csrf'])) {
        $_SESSION['csrf'] = bin2hex(random_bytes(32));
    }
    return $_SESSION['csrf'];
}

function csrf_field(): string
{
    return '<input type="hidden" name="csrf" value="' . h(csrf_token()) . '">';
}

/** Administrators (root and members of the group root) change things; other accounts look. */
function is_admin(): bool
{
    session_begin();
    return ($_SESSION['role'] ?? '') === 'Administrator';
}

/**
 * A state change must be a POST carrying this session's token and, but for
 * logging off, come from an administrator.
 */
function require_post(bool $adminOnly = true): void
{
    session_begin();
    $sent = $_POST['csrf'] ?? '';
    if ($_SERVER['REQUEST_METHOD'] !== 'POST' || !is_string($sent) || !hash_equals(csrf_token(), $sent)) {
        http_response_code(403);
        echo 'Forbidden: the request did not come from this session\'s page.';
        exit;
    }
    if ($adminOnly && !is_admin()) {
        http_response_code(403);
        echo 'Forbidden: only an administrator (root or a member of the group root) may change the storage configuration.';
        exit;
    }
}

/**
 * Log-on against the system's accounts through the module, past the
 * counters of failed attempts (see LogonThrottle). Every attempt, refused
 * or not, leaves one audit record; the password is never logged or stored.
 * @return array{state: string, wait: int} state 'ok', 'failed', 'closed'
 *         (for 'wait' more seconds) or 'unavailable'
 */
function log_on(string $user, string $password): array
{
    session_begin();
    $throttle = LogonThrottle::forServer();
    $addr = (string)($_SERVER['REMOTE_ADDR'] ?? '');
    $turn = $throttle->attempt($user, $addr);
    if ($turn['state'] === 'unavailable') {
        error_log('log-on refused: the counters of failed attempts cannot be kept (' . $turn['why'] . ')');
        Audit::write(Audit::accountName($user), 'log-on', 3, 'refused: the counters of failed attempts cannot be kept');
    } elseif ($turn['state'] === 'closed') {
        Audit::write(Audit::accountName($user), 'log-on', 2,
            'refused: log-on is closed for ' . $turn['wait'] . ' seconds after repeated failures');
    }
    if ($turn['state'] !== 'open') {
        return ['state' => $turn['state'], 'wait' => $turn['wait']];
    }
    $rc = $user !== '' && strlen($user) < 128 && strlen($password) < 128
        ? Rpc::retval(Rpc::call('KX_LogonUser', ['lpszDomain' => '', 'lpszUsername' => $user, 'lpszPassword' => $password]))
        : 1;
    if ($rc !== 0) {
        Audit::write(Audit::accountName($user), 'log-on', $rc, 'failed: unknown user or wrong password');
        return ['state' => 'failed', 'wait' => 0];
    }
    $throttle->succeeded($user, $addr);
    session_regenerate_id(true);
    $_SESSION = ['user' => $user, 'csrf' => bin2hex(random_bytes(32))];
    $group = Rpc::call('KX_GetUserGroup', ['lpszDomain' => '', 'lpszUsername' => $user]);
    $_SESSION['role'] = $group !== null ? (string)$group->UserGroup : 'ValidUser';
    Audit::write($user, 'log-on', 0, 'logged on (' . $_SESSION['role'] . ')');
    return ['state' => 'ok', 'wait' => 0];
}

function log_off(): void
{
    session_begin();
    $_SESSION = [];
    session_destroy();
}

/** Requests of the daemon come from this machine only. */
function require_loopback(): void
{
    $addr = $_SERVER['REMOTE_ADDR'] ?? '';
    if ($addr !== '127.0.0.1' && $addr !== '::1') {
        http_response_code(403);
        exit;
    }
}
