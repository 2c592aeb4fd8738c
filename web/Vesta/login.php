<?php
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';

session_begin();
$error = null;
if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    $sent = $_POST['csrf'] ?? '';
    $user = is_string($_POST['user'] ?? null) ? trim($_POST['user']) : '';
    $password = is_string($_POST['password'] ?? null) ? $_POST['password'] : '';
    if (!is_string($sent) || !hash_equals(csrf_token(), $sent)) {
        $error = 'The log-on form has expired; please try again.';
    } else {
        $result = log_on($user, $password);
        if ($result['state'] === 'ok') {
            header('Location: overview.php', true, 303);
            exit;
        } elseif ($result['state'] === 'closed') {
            http_response_code(429);
            header('Retry-After: ' . $result['wait']);
            $error = 'Log-on is closed for ' . $result['wait'] . ' seconds after repeated failures.';
        } elseif ($result['state'] === 'unavailable') {
            http_response_code(503);
            $error = 'Log-on is not available: the server cannot count failed attempts (see its error log).';
        } else {
            $error = 'Log-on failed: unknown user or wrong password.';
        }
    }
}
page_head('Log on');
flash(null, $error);
?>
<form method="post" action="login.php" id="login">
<?= csrf_field() ?>
<label>User <input name="user" id="user" autocomplete="username" required></label>
<label>Password <input type="password" name="password" id="password" autocomplete="current-password"></label>
<button type="submit" id="logon">Log on</button>
</form>
<?php
page_foot();
