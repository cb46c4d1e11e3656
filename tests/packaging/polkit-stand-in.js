// What polkitd gives a rules file, enough for the rules of a package: addRule, the results
// and a subject and action per request. check() asks every added rule in turn, as polkitd
// does, and prints one line: all decisions as wanted, or the first that is not.
var rules = [];
var polkit = {
    Result: { NO: "no", YES: "yes", AUTH_SELF: "auth_self", AUTH_SELF_KEEP: "auth_self_keep",
              AUTH_ADMIN: "auth_admin", AUTH_ADMIN_KEEP: "auth_admin_keep", NOT_HANDLED: "not_handled" },
    addRule: function (rule) { rules.push(rule); },
    addAdminRule: function (rule) {},
    log: function (message) {},
    spawn: function (argv) { throw new Error("a rule runs a program: " + argv.join(" ")); }
};
var say = typeof print === "function" ? print : console.log;

function decide(user, id) {
    var subject = { user: user, pid: 1000, session: "", local: false, active: false, seat: "",
                    groups: [user], isInGroup: function (g) { return g === user; },
                    isInNetGroup: function (g) { return false; } };
    var action = { id: id, lookup: function (key) { return undefined; } };
    for (var i = 0; i < rules.length; ++i) {
        var result = rules[i](action, subject);
        if (result !== undefined && result !== null && result !== polkit.Result.NOT_HANDLED) return result;
    }
    return "none";
}

function check(cases) {
    for (var i = 0; i < cases.length; ++i) {
        var got = decide(cases[i][0], cases[i][1]);
        if (got !== cases[i][2]) {
            say(cases[i][0] + " asking " + cases[i][1] + ": " + got + ", wanted " + cases[i][2]);
            return;
        }
    }
    say("all " + cases.length + " decisions as wanted");
}
